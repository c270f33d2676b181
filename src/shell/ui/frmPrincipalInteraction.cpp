// What the analysis and the operations ask of the user, answered by the main window: message
// boxes, the progress window with its Stop button, the pointer, the search box and the tree.

#include "shell/ui/Dialogues.h"
#include "shell/ui/frmPrincipal.h"
#include "shell/ui/frmTraitementEnCours.h"
#include "text/Version.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>

namespace arbrix {

namespace {

QMessageBox::Icon icôneQt(IcôneMessage icône) {
    switch (icône) {
    case IcôneMessage::Information:
        return QMessageBox::Information;
    case IcôneMessage::Exclamation:
        return QMessageBox::Warning;
    case IcôneMessage::Critique:
        return QMessageBox::Critical;
    case IcôneMessage::Question:
        return QMessageBox::Question;
    case IcôneMessage::Aucune:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

RéponseMessage AfficheMessage(QWidget* parent, const QString& texte, IcôneMessage icône,
                              BoutonsMessage boutons, RéponseMessage défaut, const QString& titre,
                              bool auDessus) {
    QMessageBox boîte(parent);
    boîte.setObjectName(QStringLiteral("boiteMessage"));
    boîte.setIcon(icôneQt(icône));
    boîte.setWindowTitle(titre.isEmpty() ? TitreApplication() : titre);
    // Catalogue texts break lines with CR LF.
    boîte.setText(QString(texte).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    boîte.setTextFormat(Qt::PlainText);
    if (auDessus)
        boîte.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (boutons == BoutonsMessage::OuiNon) {
        QPushButton* oui = boîte.addButton(QMessageBox::Yes);
        QPushButton* non = boîte.addButton(QMessageBox::No);
        boîte.setDefaultButton(défaut == RéponseMessage::Oui ? oui : non);
        boîte.setEscapeButton(défaut == RéponseMessage::Oui ? oui : non);
        boîte.exec();
        if (boîte.clickedButton() == oui)
            return RéponseMessage::Oui;
        if (boîte.clickedButton() == non)
            return RéponseMessage::Non;
        return défaut;
    }
    boîte.setStandardButtons(QMessageBox::Ok);
    boîte.exec();
    return RéponseMessage::Ok;
}

RéponseMessage frmPrincipal::Message(const QString& texte, IcôneMessage icône, BoutonsMessage boutons,
                                     RéponseMessage défaut, const QString& titre) {
    // A message asked during a build must not hide behind the always-on-top progress window.
    const bool auDessus = TraitementEnCoursAffiché() || windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    // The pointer is normal while the box waits, then back to what it was.
    const int attentes = m_attentes;
    Sablier(false);
    const RéponseMessage réponse = AfficheMessage(this, texte, icône, boutons, défaut, titre, auDessus);
    for (int i = 0; i < attentes; ++i)
        Sablier(true);
    return réponse;
}

std::optional<int> frmPrincipal::ChoisitOccurrence(const ListeOccurrences& occurrences) {
    return ChoisitDansListeOccurrences(this, occurrences);
}

void frmPrincipal::AfficheTraitementEnCours() {
    Interaction::AfficheTraitementEnCours();
    if (!m_traitement) {
        m_traitement = new frmTraitementEnCours([this] { DemandeArrêt(); }, this);
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
    if (m_traitement)
        m_traitement->close();
    m_traitement = nullptr;
}

bool frmPrincipal::TraitementEnCoursAffiché() const {
    return m_traitement && m_traitement->isVisible();
}

void frmPrincipal::ChangeTraitementEnCours(const QString& texte) {
    if (m_traitement)
        m_traitement->ChangeTexte(texte);
}

int frmPrincipal::LargeurTraitementEnCours() const {
    return m_traitement ? m_traitement->LargeurDisponible() : Interaction::LargeurTraitementEnCours();
}

int frmPrincipal::LargeurTexte(const QString& texte) const {
    return m_traitement ? m_traitement->LargeurTexte(texte) : fontMetrics().horizontalAdvance(texte);
}

void frmPrincipal::TraiteÉvénements() {
    QApplication::processEvents();
}

void frmPrincipal::Sablier(bool attente) {
    if (attente) {
        ++m_attentes;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (m_attentes > 0) {
            --m_attentes;
            QApplication::restoreOverrideCursor();
        }
    }
}

void frmPrincipal::ActiveSaisieArbre(bool active) {
    tvwGroupes->setEnabled(active);
}

void frmPrincipal::DonneFocusArbre() {
    tvwGroupes->setFocus();
}

} // namespace arbrix
