#include "shell/ui/ZoneDescription.h"

#include "groupops/Appartenances.h"
#include "menus/Copie.h"
#include "menus/MenusNoeuds.h"
#include "menus/ui/PressePapiers.h"
#include "shell/Commandes.h"
#include "shell/Programme.h"

#include <QLabel>
#include <QMouseEvent>

namespace arbrix {

using namespace Qt::StringLiterals;

ZoneDescription::ZoneDescription(QWidget* centre, const EtatProgramme& etat, QObject* parent)
    : QObject(parent)
    , m_etat(etat) {
    lblDescriptionLabel = new QLabel(u"Description :"_s, centre);
    lblDescriptionLabel->setObjectName(u"lblDescriptionLabel"_s);
    lblDescription = new QLabel(centre);
    lblDescription->setObjectName(u"lblDescription"_s);
    lblDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblGereParLabel = new QLabel(u"Géré par :"_s, centre);
    lblGereParLabel->setObjectName(u"lblGéréParLabel"_s);
    lblGerePar = new QLabel(centre);
    lblGerePar->setObjectName(u"lblGéréPar"_s);
    lblGerePar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (QLabel* etiquette : {lblDescriptionLabel, lblGereParLabel}) {
        QFont police = etiquette->font();
        police.setBold(true);
        etiquette->setFont(police);
    }
    for (QLabel* etiquette : {lblDescriptionLabel, lblDescription, lblGereParLabel, lblGerePar})
        etiquette->hide();
    lblGerePar->installEventFilter(this);
}

bool ZoneDescription::eventFilter(QObject* objet, QEvent* event) {
    if (objet == lblGerePar && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && !m_gestionnaire.isEmpty())
        afficheMenuGerePar();
    return false;
}

void ZoneDescription::Affiche(const QString& cle, const QString& description, const QString& gestionnaire) {
    m_cleDecrite = cle;
    m_gestionnaire = gestionnaire;
    lblDescription->setText(description);
    lblDescription->setToolTip(description);
    const std::optional<Gestionnaire> lu = Gestionnaire::Depuis(gestionnaire);
    lblGerePar->setText(lu ? lu->TexteAffiche() : QString());
    emit contenuChange();
}

void ZoneDescription::Efface() {
    Affiche(QString(), QString(), QString());
}

QList<QWidget*> ZoneDescription::ControlesTitres() const {
    return {lblDescriptionLabel, lblGereParLabel};
}

void ZoneDescription::Dispose() {
    // Bold: measured in their own font.
    for (QLabel* etiquette : {lblDescriptionLabel, lblGereParLabel})
        etiquette->resize(etiquette->fontMetrics().horizontalAdvance(etiquette->text()) + 6,
                          etiquette->sizeHint().height());
}

int ZoneDescription::Place(int gauche, int largeur, int bas, int ecart) {
    const bool visibles = !lblDescription->text().isEmpty() || !lblGerePar->text().isEmpty();
    if (visibles) {
        const int hauteurLigne = lblDescriptionLabel->sizeHint().height();
        const int yGerePar = bas - hauteurLigne;
        const int yDescription = yGerePar - hauteurLigne - 2;
        const int gaucheTextes =
            gauche + std::max(lblDescriptionLabel->width(), lblGereParLabel->width()) + 4;
        lblDescriptionLabel->move(gauche, yDescription);
        lblGereParLabel->move(gauche, yGerePar);
        lblDescription->setGeometry(gaucheTextes, yDescription, gauche + largeur - gaucheTextes,
                                    hauteurLigne);
        lblGerePar->setGeometry(gaucheTextes, yGerePar, gauche + largeur - gaucheTextes, hauteurLigne);
        bas = yDescription - ecart;
    }
    for (QLabel* etiquette : {lblDescriptionLabel, lblDescription, lblGereParLabel, lblGerePar})
        etiquette->setVisible(visibles);
    return bas;
}

void ZoneDescription::afficheMenuGerePar() {
    const clsPopupMenu menu = MenuGerePar(!m_etat.CheminOutilCompte.isEmpty());
    const int choix = IdentifiantRetenuGerePar(menu.TrackPopup());
    if (choix != IdMenu::Annuler)
        ExecuteCommandeGerePar(choix);
}

void ZoneDescription::ExecuteCommandeGerePar(int identifiant) {
    const std::optional<Gestionnaire> gestionnaire = Gestionnaire::Depuis(m_gestionnaire);
    if (!gestionnaire)
        return;
    switch (identifiant) {
    case IdMenu::InfosCompte:
        if (!m_etat.CheminOutilCompte.isEmpty())
            LanceCommande(CommandeOutilCompte(m_etat.CheminOutilCompte, gestionnaire->compte));
        break;
    case IdMenu::CopierNomCompte:
        CopieNom(gestionnaire->TexteAffiche());
        break;
    case IdMenu::CopierNom:
        CopieNom(NomSansCompte(gestionnaire->TexteAffiche()));
        break;
    case IdMenu::CopierCompte:
        CopieTexte(gestionnaire->compte);
        break;
    case IdMenu::CopierDistinguishedName:
        CopieTexte(gestionnaire->dn);
        break;
    default:
        break;
    }
}

} // namespace arbrix
