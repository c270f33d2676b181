#include "groupops/ui/frmProprietesCompte.h"

#include "directory/DirectoryError.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"
#include "text/Texte.h"
#include "tree/Occurrence.h"
#include "tree/ui/BoiteMessage.h"
#include "tree/ui/Icones.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

QLabel* Entete(const ProprietesCompte& p, QWidget* parent) {
    auto* nom = new QLabel(p.nom, parent);
    nom->setObjectName(u"lblNom"_s);
    QFont gras = nom->font();
    gras.setBold(true);
    gras.setPointSizeF(gras.pointSizeF() * 1.2);
    nom->setFont(gras);
    nom->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return nom;
}

// A value that can be selected and copied, whole however long: the box scrolls and its tooltip
// holds it all.
QLineEdit* Valeur(const QString& texte, const QString& libelle, QWidget* parent) {
    auto* valeur = new QLineEdit(texte, parent);
    valeur->setReadOnly(true);
    valeur->setCursorPosition(0);
    valeur->setToolTip(texte);
    valeur->setAccessibleName(libelle);
    return valeur;
}

} // namespace

frmProprietesCompte::frmProprietesCompte(const ProprietesCompte& proprietes, const QString& cheminOutilCompte,
                                         QWidget* parent)
    : QDialog(parent)
    , m_compte(proprietes.compte)
    , m_cheminOutil(cheminOutilCompte) {
    setObjectName(u"frmProprietesCompte"_s);
    setWindowTitle(TitreProprietes(proprietes));
    setAccessibleName(Traduction(u"ACC_PROPRIETES"));
    setSizeGripEnabled(true);

    auto* icone = new QLabel(this);
    const int cote = fontMetrics().height() * 2;
    icone->setPixmap(IconeArbre(proprietes.cleImage).pixmap(cote, cote));
    auto* entete = new QHBoxLayout;
    entete->addWidget(icone);
    entete->addWidget(Entete(proprietes, this), 1);

    btnOutilCompte = new QPushButton(Traduction(u"TXT_POPUP_INFOS_COMPTE"), this);
    btnOutilCompte->setObjectName(u"btnOutilCompte"_s);
    btnOutilCompte->setVisible(!m_cheminOutil.isEmpty());
    btnFermer = new QPushButton(Traduction(u"TXT_FERMER"), this);
    btnFermer->setObjectName(u"btnFermer"_s);
    btnFermer->setDefault(true);
    auto* boutons = new QHBoxLayout;
    boutons->addWidget(btnOutilCompte);
    boutons->addStretch();
    boutons->addWidget(btnFermer);

    auto* colonne = new QVBoxLayout(this);
    colonne->addLayout(entete);
    colonne->addWidget(creeLignes(proprietes));
    colonne->addWidget(creeGroupes(proprietes), 1);
    colonne->addLayout(boutons);
    resize(largeurPourLesValeurs(), sizeHint().height());

    AppliquePremierPlanDuParent(this);
    connect(btnOutilCompte, &QPushButton::clicked, this, &frmProprietesCompte::LanceOutilCompte);
    connect(btnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* frmProprietesCompte::creeLignes(const ProprietesCompte& proprietes) {
    auto* cadre = new QWidget(this);
    auto* formulaire = new QFormLayout(cadre);
    formulaire->setContentsMargins(0, 0, 0, 0);
    formulaire->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const LigneProprietes& ligne : proprietes.lignes)
        formulaire->addRow(ligne.libelle, Valeur(ligne.valeur, ligne.libelle, cadre));
    return cadre;
}

QWidget* frmProprietesCompte::creeGroupes(const ProprietesCompte& proprietes) {
    auto* cadre = new QWidget(this);
    auto* colonne = new QVBoxLayout(cadre);
    colonne->setContentsMargins(0, 0, 0, 0);
    auto* titre = new QLabel(Traduction(u"TXT_PROP_MEMBRE_DE"), cadre);
    colonne->addWidget(titre);
    if (proprietes.groupes.isEmpty()) {
        auto* aucun = new QLabel(TexteAucunGroupe(proprietes.nom), cadre);
        aucun->setObjectName(u"lblAucunGroupe"_s);
        aucun->setWordWrap(true);
        colonne->addWidget(aucun);
        colonne->addStretch();
        return cadre;
    }
    auto* liste = new QTreeWidget(cadre);
    liste->setObjectName(u"lvwGroupes"_s);
    liste->setAccessibleName(Traduction(u"ACC_PROP_GROUPES"));
    liste->setRootIsDecorated(false);
    liste->setUniformRowHeights(true);
    liste->setAllColumnsShowFocus(true);
    liste->setHeaderLabels(
        {Traduction(u"COL_NOM"), Traduction(u"COL_TYPE"), Traduction(u"COL_DISTINGUISHEDNAME")});
    for (const clsOccurrence& groupe : proprietes.groupes) {
        auto* ligne =
            new LigneTriable(liste, {groupe.Nom, groupe.TypeObjetEnTexte, groupe.DistinguishedName});
        ligne->setToolTip(2, groupe.DistinguishedName);
    }
    TriParEnTete(liste);
    titre->setBuddy(liste);
    colonne->addWidget(liste);
    return cadre;
}

// Wide enough for the longest value and every column of the groups whole, within the screen.
int frmProprietesCompte::largeurPourLesValeurs() const {
    int libelles = 0;
    int valeurs = 0;
    for (const QLabel* libelle : findChildren<QLabel*>(Qt::FindChildrenRecursively))
        if (qobject_cast<QFormLayout*>(libelle->parentWidget()->layout()))
            libelles = std::max(libelles, libelle->sizeHint().width());
    for (const QLineEdit* valeur : findChildren<QLineEdit*>())
        valeurs = std::max(valeurs, valeur->fontMetrics().horizontalAdvance(valeur->text()) + 24);
    int colonnes = 0;
    if (const auto* groupes = findChild<QTreeWidget*>(u"lvwGroupes"_s))
        for (int c = 0; c < groupes->columnCount(); ++c)
            colonnes += groupes->columnWidth(c);
    const int voulue =
        std::max(libelles + valeurs, colonnes + 24) + 2 * layout()->contentsMargins().left() + 16;
    const QScreen* ecran = screen();
    const int maximum = ecran ? ecran->availableGeometry().width() * 9 / 10 : 1200;
    return std::clamp(voulue, 640, std::max(640, maximum));
}

void frmProprietesCompte::LanceOutilCompte() {
    if (!m_cheminOutil.isEmpty())
        m_lance(CommandeOutilCompte(m_cheminOutil, m_compte));
}

void frmProprietesCompte::Affiche(QWidget* parent, SessionAD& session, const QString& dn,
                                  const QString& cheminOutilCompte) {
    const bool auDessus = parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    try {
        const std::optional<ProprietesCompte> proprietes =
            LitProprietesCompte(session, dn, QDateTime::currentDateTime());
        if (!proprietes) {
            AfficheMessage(parent, FormateMessage(Traduction(u"TXT_PROP_COMPTE_INTROUVABLE"), {dn}),
                           IconeMessage::Exclamation, BoutonsMessage::Ok, ReponseMessage::Ok, {}, auDessus);
            return;
        }
        frmProprietesCompte fenetre(*proprietes, cheminOutilCompte, parent);
        fenetre.exec();
    } catch (const DirectoryError& e) {
        AfficheMessage(parent, FormateMessage(Traduction(u"MSG_ERREUR"), {e.number(), e.text()}),
                       IconeMessage::Exclamation, BoutonsMessage::Ok, ReponseMessage::Ok, {}, auDessus);
    }
}

} // namespace arbrix
