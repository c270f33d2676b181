#include "groupops/ui/frmAjoutMembres.h"

#include "directory/DirectoryError.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"
#include "text/Texte.h"
#include "tree/Interaction.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

struct Colonne {
    QString cle, texte;
    int twips;
};

QList<Colonne> Colonnes(GenreMembre genre) {
    if (genre == GenreMembre::Groupe)
        return {{u"COL_NOM_RDN"_s, u"Nom RDN"_s, 3500},
                {u"COL_DESCRIPTION"_s, u"Description"_s, 3000},
                {u"COL_TYPE"_s, u"Type"_s, 2445},
                {u"COL_ATTENTION"_s, u"Nom antérieur Win2000 (si différent de nom RDN)"_s, 3000}};
    return {{u"COL_NOM"_s, u"Nom"_s, 2800},
            {u"COL_DESCRIPTION"_s, u"Description"_s, 2200},
            {u"COL_TELEPHONE"_s, u"Téléphone"_s, 1100},
            {u"COL_COMPTE"_s, u"Compte"_s, 1150}};
}

QString TexteTraduit(const QString& cle, const QString& defaut) {
    const QString t = Traduction(cle);
    return t.isEmpty() || t == cle ? defaut : t;
}

QPushButton* Bouton(QWidget* parent, const QString& nom, const QString& texte) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(nom);
    return b;
}

} // namespace

frmAjoutMembres::frmAjoutMembres(SessionAD& session, Interaction& interaction, GenreMembre genre,
                                 QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_interaction(interaction)
    , m_genre(genre) {
    construit();
    TraduitFenetre(this);
    const QString cleBulle =
        genre == GenreMembre::Groupe ? u"TXT_TOOLTIP_AJOUT_GROUPES"_s : u"TXT_TOOLTIP_AJOUT_COMPTES"_s;
    txtSelection->setToolTip(Traduction(cleBulle)); // "§" already turned into line breaks
    lvw_ColumnClick(0);
    actualiseBoutons();
    AppliquePremierPlanDuParent(this);
    txtChercher->setFocus();
}

void frmAjoutMembres::construit() {
    const bool groupes = m_genre == GenreMembre::Groupe;
    setObjectName(groupes ? u"frmAjoutGroupe"_s : u"frmAjoutCompte"_s);
    setWindowTitle(groupes ? u"Ajout de groupes"_s : u"Ajout de comptes"_s);
    lblChercher =
        new QLabel(groupes ? u"Nom du groupe"_s : u"Compte ou nom (utilisateur ou ordinateur)"_s, this);
    lblChercher->setObjectName(groupes ? u"lblNomGroupe"_s : u"lblCompteOuNom"_s);
    txtChercher = new QLineEdit(this);
    txtChercher->setObjectName(u"txtChercher"_s);
    txtChercher->installEventFilter(this);
    lblChercher->setBuddy(txtChercher);
    btnChercher = Bouton(this, groupes ? u"btnChercherGroupe"_s : u"btnChercherCompte"_s, u"&Chercher"_s);
    lvw = new QTreeWidget(this);
    lvw->setObjectName(groupes ? u"lvwGroupes"_s : u"lvwUsers"_s);
    lvw->setAccessibleName(Traduction(groupes ? u"ACC_RESULTATS_GROUPES" : u"ACC_RESULTATS_COMPTES"));
    lvw->setRootIsDecorated(false);
    lvw->setUniformRowHeights(true);
    lvw->setAlternatingRowColors(true);
    QStringList entetes;
    const QList<Colonne> colonnes = Colonnes(m_genre);
    for (const Colonne& c : colonnes)
        entetes.append(TexteTraduit(c.cle, c.texte));
    lvw->setHeaderLabels(entetes);
    for (int i = 0; i < colonnes.size(); ++i)
        lvw->setColumnWidth(i, colonnes[i].twips / 15);
    lvw->header()->setSectionsClickable(true);
    btnAjouter = Bouton(this, u"btnAjouter"_s, u"&Ajouter"_s);
    txtSelection = new QLineEdit(this);
    txtSelection->setObjectName(u"txtSélection"_s);
    txtSelection->setAccessibleName(Traduction(u"ACC_SELECTION"));
    txtSelection->installEventFilter(this);
    btnOK = Bouton(this, u"btnOK"_s, u"&OK"_s);
    btnAnnuler = Bouton(this, u"btnAnnuler"_s, u"A&nnuler"_s);

    auto* grille = new QGridLayout(this);
    grille->addWidget(lblChercher, 0, 0, 1, 2);
    grille->addWidget(txtChercher, 1, 0);
    grille->addWidget(btnChercher, 1, 1);
    grille->addWidget(lvw, 2, 0, 1, 2);
    int ligne = 3;
    if (groupes) {
        auto* note = new QLabel(
            u"La dernière colonne indique une différence entre le nom RDN et le nom antérieur à Win2000"_s,
            this);
        note->setObjectName(u"lblDifférenceNomWin200x"_s);
        grille->addWidget(note, ligne++, 0, 1, 2);
    }
    grille->addWidget(txtSelection, ligne, 0);
    grille->addWidget(btnAjouter, ligne++, 1);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);
    grille->addLayout(boutons, ligne, 0, 1, 2);
    resize(groupes ? 820 : 560, 420);

    connect(txtChercher, &QLineEdit::textChanged, this, &frmAjoutMembres::actualiseBoutons);
    connect(btnChercher, &QPushButton::clicked, this, &frmAjoutMembres::btnChercher_Click);
    connect(lvw, &QTreeWidget::itemSelectionChanged, this, &frmAjoutMembres::actualiseBoutons);
    connect(lvw, &QTreeWidget::itemDoubleClicked, this, [this] { btnAjouter_Click(); });
    connect(lvw->header(), &QHeaderView::sectionClicked, this, &frmAjoutMembres::lvw_ColumnClick);
    connect(btnAjouter, &QPushButton::clicked, this, &frmAjoutMembres::btnAjouter_Click);
    connect(txtSelection, &QLineEdit::textChanged, this, &frmAjoutMembres::actualiseBoutons);
    connect(btnOK, &QPushButton::clicked, this, &frmAjoutMembres::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

void frmAjoutMembres::actualiseBoutons() {
    btnChercher->setEnabled(!txtChercher->text().isEmpty());
    btnAjouter->setEnabled(!lvw->selectedItems().isEmpty());
    btnOK->setEnabled(!txtSelection->text().isEmpty());
}

void frmAjoutMembres::signale(const QString& texte) {
    QApplication::restoreOverrideCursor();
    m_interaction.Message(texte, IconeMessage::Exclamation);
}

void frmAjoutMembres::btnChercher_Click() {
    lvw->clear();
    actualiseBoutons();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<QStringList> lignes;
    QStringList dns;
    try {
        if (m_genre == GenreMembre::Groupe) {
            for (const LigneGroupe& l : ChercheGroupes(m_session, txtChercher->text())) {
                lignes.append({l.nom, l.description, l.type, l.nomAncien});
                dns.append(l.dn);
            }
        } else {
            for (const LigneCompte& l : ChercheComptes(m_session, txtChercher->text())) {
                lignes.append({l.nom, l.description, l.telephone, l.compte});
                dns.append(l.dn);
            }
        }
    } catch (const DirectoryError& e) {
        signale(FormateMessage(Traduction(u"MSG_ERREUR"), {qint64(e.number()), e.text()}));
        return;
    }
    QApplication::restoreOverrideCursor();
    if (lignes.isEmpty()) {
        signale(Traduction(u"MSG_ERREUR_ELEMENT_NON_TROUVE"));
        return;
    }
    lvw->setSortingEnabled(false);
    for (int i = 0; i < lignes.size(); ++i) {
        auto* item = new QTreeWidgetItem(lvw, lignes[i]);
        item->setData(0, Qt::UserRole, dns[i]);
    }
    if (m_tri != 0)
        lvw->sortItems(std::abs(m_tri) - 1, m_tri > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void frmAjoutMembres::lvw_ColumnClick(int colonne) {
    const int numero = colonne + 1;
    m_tri = std::abs(m_tri) == numero ? -m_tri : numero;
    const Qt::SortOrder ordre = m_tri > 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    lvw->header()->setSortIndicatorShown(true);
    lvw->header()->setSortIndicator(colonne, ordre);
    lvw->sortItems(colonne, ordre);
}

void frmAjoutMembres::btnAjouter_Click() {
    const QList<QTreeWidgetItem*> choisis = lvw->selectedItems();
    if (choisis.isEmpty())
        return;
    // The account name, or the group's name; its DN goes with it, so a name two objects share
    // still adds the row picked.
    const QString entree = choisis.first()->text(m_genre == GenreMembre::Groupe ? 0 : 3);
    m_choisis.insert(entree.toLower(), choisis.first()->data(0, Qt::UserRole).toString());
    const QString texte = txtSelection->text();
    txtSelection->setText(texte.isEmpty() ? entree : texte + u';' + entree);
}

bool frmAjoutMembres::eventFilter(QObject* objet, QEvent* event) {
    if ((objet == txtChercher || objet == txtSelection) && event->type() == QEvent::KeyPress) {
        const auto* touche = static_cast<QKeyEvent*>(event);
        // Enter acts on its own field, and only there: left to the dialog, it would also press
        // whichever button is the default at that moment.
        if (touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter) {
            QPushButton* bouton = objet == txtChercher ? btnChercher : btnOK;
            if (bouton->isEnabled())
                bouton->click();
            return true;
        }
        if (objet == txtSelection && touche->key() == Qt::Key_V &&
            touche->modifiers().testFlag(Qt::ControlModifier)) {
            colle(touche->modifiers().testFlag(Qt::ShiftModifier) && m_genre != GenreMembre::Groupe);
            return true;
        }
    }
    return QDialog::eventFilter(objet, event);
}

void frmAjoutMembres::colle(bool dollar) {
    const QString texte = TexteColle(QApplication::clipboard()->text(), dollar);
    txtSelection->insert(texte); // replaces the selection, caret after the text
}

void frmAjoutMembres::btnOK_Click() {
    txtSelection->setText(NormaliseSelection(txtSelection->text()));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Resolution r;
    try {
        r = ResoutSelection(m_session, txtSelection->text(), m_genre, m_choisis);
    } catch (const DirectoryError& e) {
        signale(FormateMessage(Traduction(u"MSG_ERREUR"), {qint64(e.number()), e.text()}));
        return;
    }
    QApplication::restoreOverrideCursor();
    if (!r.refus.isEmpty()) {
        m_interaction.Message(r.refus, IconeMessage::Exclamation);
        txtSelection->setFocus();
        return;
    }
    m_choix = r.membres;
    accept();
}

QList<MembreChoisi> ChoisitMembres(QWidget* parent, SessionAD& session, Interaction& interaction,
                                   GenreMembre genre) {
    frmAjoutMembres dialogue(session, interaction, genre, parent);
    if (dialogue.exec() != QDialog::Accepted)
        return {};
    return dialogue.Choix();
}

} // namespace arbrix
