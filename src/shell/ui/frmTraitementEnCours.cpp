#include "shell/ui/frmTraitementEnCours.h"

#include "i18n/TraductionFeuille.h"
#include "shell/ui/Geometrie.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace arbrix {

using namespace Qt::StringLiterals;

frmTraitementEnCours::frmTraitementEnCours(std::function<void()> arret, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_arret(std::move(arret)) {
    setObjectName(u"frmTraitementEnCours"_s);
    setWindowTitle(u"Traitement en cours"_s);
    setFont(PoliceInterface());
    setModal(false);
    fraBordure = new QGroupBox(this);
    fraBordure->setObjectName(u"fraBordure"_s);
    lblTraitementEnCoursInfo = new QLabel(u"Traitement en cours :"_s, fraBordure);
    lblTraitementEnCoursInfo->setObjectName(u"lblTraitementEnCoursInfo"_s);
    lblTraitementEnCours = new QLabel(fraBordure);
    lblTraitementEnCours->setObjectName(u"lblTraitementEnCours"_s);
    lblTraitementEnCours->setMinimumWidth(360);
    lblTraitementEnCours->setTextFormat(Qt::PlainText);
    btnStop = new QPushButton(u"&Stop !"_s, fraBordure);
    btnStop->setObjectName(u"btnStop"_s);
    btnStop->setDefault(true);

    auto* textes = new QVBoxLayout;
    textes->addWidget(lblTraitementEnCoursInfo);
    textes->addWidget(lblTraitementEnCours);
    auto* cadre = new QHBoxLayout(fraBordure);
    cadre->addLayout(textes, 1);
    cadre->addWidget(btnStop, 0, Qt::AlignVCenter);
    auto* fenetre = new QVBoxLayout(this);
    fenetre->setContentsMargins(4, 4, 4, 4);
    fenetre->addWidget(fraBordure);
    setFixedHeight(sizeHint().height());

    connect(btnStop, &QPushButton::clicked, this, [this] {
        if (m_arret)
            m_arret();
    });
    traduit();
}

void frmTraitementEnCours::traduit() {
    DescriptionFeuille feuille{objectName(), windowTitle(), {}};
    feuille.controles.append({lblTraitementEnCoursInfo->objectName(),
                              -1,
                              GenreControle::Etiquette,
                              lblTraitementEnCoursInfo->text(),
                              {}});
    feuille.controles.append({btnStop->objectName(), -1, GenreControle::Bouton, btnStop->text(), {}});
    TraduitFeuille(feuille);
    setWindowTitle(feuille.titre);
    lblTraitementEnCoursInfo->setText(feuille.controles[0].texte);
    btnStop->setText(feuille.controles[1].texte);
}

void frmTraitementEnCours::ChangeTexte(const QString& texte) {
    lblTraitementEnCours->setText(texte);
    lblTraitementEnCours->repaint();
}

QString frmTraitementEnCours::Texte() const {
    return lblTraitementEnCours->text();
}

int frmTraitementEnCours::LargeurDisponible() const {
    return lblTraitementEnCours->width();
}

int frmTraitementEnCours::LargeurTexte(const QString& texte) const {
    return lblTraitementEnCours->fontMetrics().horizontalAdvance(texte);
}

// Closing the window by its frame or Escape asks for the same stop as the button.
void frmTraitementEnCours::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        if (m_arret)
            m_arret();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmTraitementEnCours::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (m_arret)
            m_arret();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace arbrix
