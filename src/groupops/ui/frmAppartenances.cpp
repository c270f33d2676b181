#include "groupops/ui/frmAppartenances.h"

#include "directory/DirectoryError.h"
#include "groupops/OperationsAnnuaire.h"
#include "groupops/ProprietesCompte.h"
#include "i18n/TraductionFeuille.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"
#include "text/Texte.h"
#include "tree/Interaction.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

constexpr int ColonneDn = 3;

QStringList TitresColonnes() {
    QList<DescriptionColonne> colonnes;
    for (const QString& cle : {u"COL_NOM"_s, u"COL_DESCRIPTION"_s, u"COL_TYPE"_s, u"COL_DISTINGUISHEDNAME"_s})
        colonnes.append({cle, Traduction(cle)});
    TraduitColonnes(colonnes);
    QStringList titres;
    for (const DescriptionColonne& c : colonnes)
        titres.append(c.texte);
    return titres;
}

} // namespace

frmAppartenances::frmAppartenances(const AppartenancesEffectives& appartenances, const QString& titre,
                                   QWidget* parent)
    : QDialog(parent)
    , m_appartenances(appartenances) {
    setObjectName(u"frmAppartenances"_s);
    setWindowTitle(u"Appartenances"_s);
    setSizeGripEnabled(true);

    chkEffectives = new QCheckBox(u"Appartenances &effectives (par imbrication et groupe principal)"_s, this);
    chkEffectives->setObjectName(u"chkEffectives"_s);
    lvwGroupes = new QTreeWidget(this);
    lvwGroupes->setObjectName(u"lvwGroupes"_s);
    lvwGroupes->setAccessibleName(Traduction(u"ACC_APPARTENANCES"));
    lvwGroupes->setUniformRowHeights(true);
    lvwGroupes->setAllColumnsShowFocus(true);
    lvwGroupes->setHeaderLabels(TitresColonnes());
    TriParEnTete(lvwGroupes);
    lvwGroupes->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblAucunGroupe = new QLabel(TexteAucunGroupe(appartenances.nom), this);
    lblAucunGroupe->setObjectName(u"lblAucunGroupe"_s);
    const bool aucun = appartenances.chemins.isEmpty();
    lblAucunGroupe->setVisible(aucun);
    lvwGroupes->setVisible(!aucun);
    chkEffectives->setVisible(!aucun);

    btnOK = new QPushButton(u"&OK"_s, this);
    btnOK->setObjectName(u"btnOK"_s);
    btnOK->setDefault(true);
    btnFermer = new QPushButton(u"&Fermer"_s, this);
    btnFermer->setObjectName(u"btnFermer"_s);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnFermer);
    auto* colonne = new QVBoxLayout(this);
    colonne->addWidget(chkEffectives);
    colonne->addWidget(lvwGroupes);
    colonne->addWidget(lblAucunGroupe);
    colonne->addLayout(boutons);

    TraduitFenetre(this);
    setWindowTitle(titre);
    AfficheEffectives(false);
    resize(aucun ? std::max(sizeHint().width(), fontMetrics().horizontalAdvance(titre) + 120) : 760,
           aucun ? sizeHint().height() : 360);
    AppliquePremierPlanDuParent(this);

    connect(chkEffectives, &QCheckBox::toggled, this, &frmAppartenances::AfficheEffectives);
    connect(btnOK, &QPushButton::clicked, this, &frmAppartenances::btnOK_Click);
    connect(btnFermer, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvwGroupes, &QTreeWidget::itemDoubleClicked, this, &frmAppartenances::btnOK_Click);
    connect(lvwGroupes, &QTreeWidget::currentItemChanged, this, &frmAppartenances::metAJourBoutons);
}

QTreeWidgetItem* frmAppartenances::ligne(const CheminAppartenance& chemin) const {
    auto* item = new LigneTriable({chemin.noms.last(), chemin.description, chemin.type, chemin.dnGroupe});
    for (int c = 1; c <= ColonneDn; ++c)
        item->setToolTip(c, item->text(c));
    item->setToolTip(0, TexteChemin(chemin.noms));
    return item;
}

// Direct: one row per group, sortable as the lists of found objects. Effective: each chain under
// the one it extends, a loop as a row without DN where it is cut.
void frmAppartenances::AfficheEffectives(bool effectives) {
    lvwGroupes->clear();
    lvwGroupes->setRootIsDecorated(effectives);
    QHash<QString, QTreeWidgetItem*> parChemin;
    for (const CheminAppartenance& chemin : m_appartenances.chemins) {
        if (!effectives && chemin.noms.size() > 2)
            continue;
        QTreeWidgetItem* item = ligne(chemin);
        QTreeWidgetItem* parent = parChemin.value(TexteChemin(chemin.noms.mid(0, chemin.noms.size() - 1)));
        if (parent)
            parent->addChild(item);
        else
            lvwGroupes->addTopLevelItem(item);
        parChemin.insert(TexteChemin(chemin.noms), item);
    }
    if (effectives) {
        for (const QStringList& cycle : m_appartenances.cycles) {
            auto* item =
                new QTreeWidgetItem({FormateMessage(Traduction(u"TXT_APPARTENANCE_BOUCLE"), {cycle.last()})});
            item->setToolTip(
                0, FormateMessage(Traduction(u"MSG_APPARTENANCE_CIRCULAIRE"), {TexteChemin(cycle)}));
            if (QTreeWidgetItem* parent = parChemin.value(TexteChemin(cycle.mid(0, cycle.size() - 1))))
                parent->addChild(item);
            else
                lvwGroupes->addTopLevelItem(item);
        }
        lvwGroupes->expandAll();
    }
    if (lvwGroupes->topLevelItemCount() > 0)
        lvwGroupes->setCurrentItem(lvwGroupes->topLevelItem(0));
    metAJourBoutons();
}

void frmAppartenances::metAJourBoutons() {
    const QTreeWidgetItem* item = lvwGroupes->currentItem();
    btnOK->setEnabled(item && !item->text(ColonneDn).isEmpty());
}

void frmAppartenances::btnOK_Click() {
    const QTreeWidgetItem* item = lvwGroupes->currentItem();
    if (!item || item->text(ColonneDn).isEmpty())
        return;
    m_choisi = item->text(ColonneDn);
    accept();
}

std::optional<QString> frmAppartenances::Choisit(QWidget* parent, SessionAD& session, const QString& dn,
                                                 const QString& titre, Interaction& interaction) {
    std::optional<AppartenancesEffectives> appartenances;
    try {
        appartenances = LitAppartenancesEffectives(session, dn);
    } catch (const DirectoryError& e) {
        interaction.Message(TexteErreurOperation(e), IconeMessage::Exclamation);
        return std::nullopt;
    }
    if (!appartenances)
        return std::nullopt;
    frmAppartenances fenetre(*appartenances, titre, parent);
    fenetre.exec();
    return fenetre.Choisi();
}

} // namespace arbrix
