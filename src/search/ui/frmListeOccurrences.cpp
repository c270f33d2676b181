#include "search/ui/frmListeOccurrences.h"

#include "i18n/TraductionFeuille.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

constexpr int RoleIndex = Qt::UserRole;

QList<DescriptionColonne> Colonnes() {
    QList<DescriptionColonne> colonnes;
    for (const QString& cle : {u"COL_NOM"_s, u"COL_DESCRIPTION"_s, u"COL_TYPE"_s, u"COL_DISTINGUISHEDNAME"_s})
        colonnes.append({cle, Traduction(cle)});
    TraduitColonnes(colonnes);
    return colonnes;
}

// Room for every column whole, within the screen.
int LargeurPourLesColonnes(const QTreeWidget* liste) {
    int largeur = 2 * liste->frameWidth() + 40;
    for (int c = 0; c < liste->columnCount(); ++c)
        largeur += liste->columnWidth(c);
    const QScreen* ecran = liste->screen();
    const int maximum = ecran ? ecran->availableGeometry().width() * 9 / 10 : 1200;
    return std::clamp(largeur, 720, std::max(720, maximum));
}

QPushButton* Bouton(QWidget* parent, const QString& nom, const QString& texte) {
    auto* bouton = new QPushButton(texte, parent);
    bouton->setObjectName(nom);
    return bouton;
}

} // namespace

frmListeOccurrences::frmListeOccurrences(const ListeOccurrences& occurrences, QWidget* parent)
    : QDialog(parent) {
    setObjectName(u"frmListeOccurrences"_s);
    setWindowTitle(u"Liste des occurrences trouvées"_s);
    setSizeGripEnabled(true);

    lvwOccurrences = new QTreeWidget(this);
    lvwOccurrences->setObjectName(u"lvwOccurrences"_s);
    lvwOccurrences->setAccessibleName(Traduction(u"ACC_OCCURRENCES"));
    lvwOccurrences->setRootIsDecorated(false);
    lvwOccurrences->setUniformRowHeights(true);
    lvwOccurrences->setAllColumnsShowFocus(true);
    lvwOccurrences->setContextMenuPolicy(Qt::CustomContextMenu);
    QStringList titres;
    for (const DescriptionColonne& c : Colonnes())
        titres.append(c.texte);
    lvwOccurrences->setHeaderLabels(titres);

    QList<QTreeWidgetItem*> lignes;
    lignes.reserve(occurrences.size());
    for (int i = 0; i < occurrences.size(); ++i) {
        const clsOccurrence& o = occurrences[i];
        auto* ligne =
            new LigneTriable(QStringList{o.Nom, o.Description, o.TypeObjetEnTexte, o.DistinguishedName});
        ligne->setData(0, RoleIndex, i);
        for (int c = 1; c < 4; ++c)
            ligne->setToolTip(c, ligne->text(c));
        lignes.append(ligne);
    }
    lvwOccurrences->addTopLevelItems(lignes);
    TriParEnTete(lvwOccurrences);
    if (!lignes.isEmpty())
        lvwOccurrences->setCurrentItem(lignes.first());

    btnOK = Bouton(this, u"btnOK"_s, u"&OK"_s);
    btnOK->setDefault(true);
    btnAnnuler = Bouton(this, u"btnAnnuler"_s, u"A&nnuler"_s);

    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);
    auto* colonne = new QVBoxLayout(this);
    colonne->addWidget(lvwOccurrences);
    colonne->addLayout(boutons);

    TraduitFenetre(this);
    resize(LargeurPourLesColonnes(lvwOccurrences), 320);
    AppliquePremierPlanDuParent(this);
    metAJourBoutons();

    connect(btnOK, &QPushButton::clicked, this, &frmListeOccurrences::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvwOccurrences, &QTreeWidget::itemDoubleClicked, this, &frmListeOccurrences::btnOK_Click);
    connect(lvwOccurrences, &QTreeWidget::currentItemChanged, this, &frmListeOccurrences::metAJourBoutons);
    connect(lvwOccurrences, &QWidget::customContextMenuRequested, this, &frmListeOccurrences::afficheMenu);
}

std::optional<int> frmListeOccurrences::Choisit(QWidget* parent, const ListeOccurrences& occurrences) {
    frmListeOccurrences fenetre(occurrences, parent);
    fenetre.exec();
    return fenetre.Choisi();
}

std::optional<int> frmListeOccurrences::indexSelectionne() const {
    const QTreeWidgetItem* ligne = lvwOccurrences->currentItem();
    if (!ligne)
        return std::nullopt;
    return ligne->data(0, RoleIndex).toInt();
}

void frmListeOccurrences::metAJourBoutons() {
    btnOK->setEnabled(indexSelectionne().has_value());
}

void frmListeOccurrences::btnOK_Click() {
    m_choisi = indexSelectionne();
    if (m_choisi)
        accept();
}

QString frmListeOccurrences::TexteNomSelectionne() const {
    const QTreeWidgetItem* ligne = lvwOccurrences->currentItem();
    return ligne ? ligne->text(0) : QString();
}

QString frmListeOccurrences::TexteListe() const {
    QStringList lignes;
    const QTreeWidgetItem* titres = lvwOccurrences->headerItem();
    auto joint = [this](const QTreeWidgetItem* ligne) {
        QStringList champs;
        // A TAB or line break inside a value would shift the columns of the pasted list.
        for (int c = 0; c < lvwOccurrences->columnCount(); ++c)
            champs.append(ligne->text(c).replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' '));
        return champs.join(u'\t');
    };
    lignes.append(joint(titres));
    for (int i = 0; i < lvwOccurrences->topLevelItemCount(); ++i)
        lignes.append(joint(lvwOccurrences->topLevelItem(i)));
    return lignes.join(u'\n') + u'\n';
}

void frmListeOccurrences::CopieNom() {
    if (lvwOccurrences->currentItem())
        QApplication::clipboard()->setText(TexteNomSelectionne());
}

void frmListeOccurrences::CopieListe() {
    QApplication::clipboard()->setText(TexteListe());
}

void frmListeOccurrences::afficheMenu(const QPoint& position) {
    QMenu menu(this);
    QAction* nom = menu.addAction(Traduction(u"TXT_POPUP_COPIER_NOM"), this, &frmListeOccurrences::CopieNom);
    nom->setEnabled(lvwOccurrences->currentItem() != nullptr);
    menu.addAction(Traduction(u"TXT_POPUP_COPIER_LISTE"), this, &frmListeOccurrences::CopieListe);
    menu.exec(lvwOccurrences->viewport()->mapToGlobal(position));
}

} // namespace arbrix
