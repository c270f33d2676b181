#include "search/ui/frmRechercher.h"

#include "i18n/Traductions.h"
#include "search/RechercheArbre.h"
#include "search/ui/Fenetres.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {
int fenetresOuvertes = 0;
} // namespace

frmRechercher::frmRechercher(Arbre& arbre, Interaction& interaction, QWidget* parent)
    : QDialog(parent)
    , m_arbre(arbre)
    , m_interaction(interaction) {
    setObjectName(u"frmRechercher"_s);
    setWindowTitle(u"Rechercher"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    lblRechercher = new QLabel(u"Rechercher"_s, this);
    lblRechercher->setObjectName(u"lblRechercher"_s);
    txtOccurrence = new QLineEdit(this);
    txtOccurrence->setObjectName(u"txtOccurrence"_s);
    lblRechercher->setBuddy(txtOccurrence);
    btnChercherSuivant = new QPushButton(u"&Suivant"_s, this);
    btnChercherSuivant->setObjectName(u"btnChercherSuivant"_s);
    btnChercherSuivant->setDefault(true);
    btnChercherPrecedent = new QPushButton(u"&Précédent"_s, this);
    btnChercherPrecedent->setObjectName(u"btnChercherPrécédent"_s);
    btnFermer = new QPushButton(u"&Fermer"_s, this);
    btnFermer->setObjectName(u"btnFermer"_s);

    auto* grille = new QGridLayout(this);
    grille->addWidget(lblRechercher, 0, 0);
    grille->addWidget(txtOccurrence, 0, 1, 1, 3);
    grille->addWidget(btnChercherSuivant, 1, 1);
    grille->addWidget(btnChercherPrecedent, 1, 2);
    grille->addWidget(btnFermer, 1, 3);
    grille->setColumnStretch(1, 1);

    TraduitFenetre(this);
    txtOccurrence->setText(TexteRecherche());
    m_texteModifie = false;
    txtOccurrence_Change();
    m_texteModifie = false;

    connect(txtOccurrence, &QLineEdit::textChanged, this, &frmRechercher::txtOccurrence_Change);
    connect(btnChercherSuivant, &QPushButton::clicked, this, &frmRechercher::btnChercherSuivant_Click);
    connect(btnChercherPrecedent, &QPushButton::clicked, this, &frmRechercher::btnChercherPrecedent_Click);
    connect(btnFermer, &QPushButton::clicked, this, &QWidget::close);

    AppliquePremierPlanDuParent(this);
    ++fenetresOuvertes;
}

frmRechercher::~frmRechercher() {
    --fenetresOuvertes;
}

bool frmRechercher::RechercheOuverte() {
    return fenetresOuvertes > 0;
}

void frmRechercher::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtOccurrence->selectAll();
}

// An empty text would match every label: the buttons wait for one.
void frmRechercher::txtOccurrence_Change() {
    m_texteModifie = true;
    const bool texte = !txtOccurrence->text().isEmpty();
    btnChercherSuivant->setEnabled(texte);
    btnChercherPrecedent->setEnabled(texte);
}

void frmRechercher::btnChercherSuivant_Click() {
    cherche(true);
}

void frmRechercher::btnChercherPrecedent_Click() {
    cherche(false);
}

// A new text starts from the root (tested first when going forwards); the same text goes on
// from the selected node.
void frmRechercher::cherche(bool suivant) {
    if (txtOccurrence->text().isEmpty())
        return;
    DefinitTexteRecherche(txtOccurrence->text());
    Noeud* selection = m_arbre.SelectedItem();
    const bool depuisRacine = !selection || m_texteModifie;
    const Noeud* depart = depuisRacine ? m_arbre.Racine() : selection;
    int direction = suivant ? RechercheSuivante : RecherchePrecedente;
    if (suivant && depuisRacine)
        direction = RechercheDepuisDepart;
    m_texteModifie = false;

    if (Noeud* trouve = depart ? Rechercher(m_arbre, depart, direction, TexteRecherche()) : nullptr) {
        m_arbre.RendVisibleEtSelectionne(trouve);
        return;
    }
    // The message must not hide behind this window.
    const bool auDessus = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    AppliquePremierPlan(this, false);
    m_interaction.Message(Traduction(u"MSG_ERREUR_OCCURENCE_NON_TROUVEE"), IconeMessage::Exclamation);
    AppliquePremierPlan(this, auDessus);
}

} // namespace arbrix
