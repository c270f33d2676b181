// What the analysis and the operations ask of the user, answered by the main window: message
// boxes, the choice of a found object, the group creation dialog, the progress window with its
// Stop button.

#include "groupops/ui/frmCreationGroupe.h"
#include "shell/ui/Dialogues.h"
#include "shell/ui/frmPrincipal.h"
#include "shell/ui/frmTraitementEnCours.h"
#include "text/Version.h"
#include "tree/ui/BoiteMessage.h"

#include <QApplication>

namespace arbrix {

ReponseMessage frmPrincipal::Message(const QString& texte, IconeMessage icone, BoutonsMessage boutons,
                                     ReponseMessage defaut, const QString& titre) {
    // A message asked during a build must not hide behind the always-on-top progress window.
    const bool auDessus = FenetreTraitementVisible() || windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    return m_pointeur.NormalPendant(
        [&] { return AfficheMessage(this, texte, icone, boutons, defaut, titre, auDessus); });
}

std::optional<int> frmPrincipal::ChoisitOccurrence(const ListeOccurrences& occurrences) {
    return m_pointeur.NormalPendant([&] { return ChoisitDansListeOccurrences(this, occurrences); });
}

std::optional<ChoixCreationGroupe> frmPrincipal::DemandeCreationGroupe(int type, int etendue,
                                                                       const ControleNomGroupe& controle) {
    return m_pointeur.NormalPendant(
        [&] { return AfficheCreationGroupe(this, *this, type, etendue, controle); });
}

void frmPrincipal::AfficheTraitementEnCours() {
    Interaction::AfficheTraitementEnCours();
    // The next turn shows the window at once; later ones come at the pace of the build.
    m_dernierTour.invalidate();
    m_texteTraitement.clear();
    if (!m_traitement) {
        m_traitement = new frmTraitementEnCours([this] { DemandeArret(); }, this);
        m_traitement->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_traitement->adjustSize();
    const QRect cadre = frameGeometry();
    m_traitement->move(cadre.center() - QPoint(m_traitement->width() / 2, m_traitement->height() / 2));
    m_traitement->show();
    m_traitement->raise();
}

void frmPrincipal::MasqueTraitementEnCours() {
    Interaction::MasqueTraitementEnCours();
    rattacheVue();
    if (m_traitement)
        m_traitement->close();
    m_traitement = nullptr;
}

bool frmPrincipal::FenetreTraitementVisible() const {
    return m_traitement && m_traitement->isVisible();
}

void frmPrincipal::ChangeTraitementEnCours(const QString& texte) {
    m_texteTraitement = m_traitement
                            ? AbregeChemin(
                                  texte, [this](const QString& t) { return m_traitement->LargeurTexte(t); },
                                  m_traitement->LargeurDisponible())
                            : texte;
    if (!m_dernierTour.isValid())
        afficheTexteTraitement();
}

void frmPrincipal::afficheTexteTraitement() {
    if (m_traitement && m_traitement->Texte() != m_texteTraitement)
        m_traitement->ChangeTexte(m_texteTraitement);
}

void frmPrincipal::rattacheVue() {
    m_arbre.setNotificationsSuspended(false);
}

void frmPrincipal::TraiteEvenements() {
    // A build asks after every group; a turn of the event loop every few tens of milliseconds
    // keeps Stop and the window as responsive and the progress text as lively. (The base flag:
    // the progress window is hidden along with the main window in the tray.)
    if (TraitementEnCoursAffiche() && m_dernierTour.isValid() && m_dernierTour.elapsed() < IntervalleTours)
        return;
    afficheTexteTraitement();
    QApplication::processEvents();
    m_dernierTour.start();
}

} // namespace arbrix
