// The main window's status bar and the legend of the icons: what the window shows, from where,
// as whom, and what its icons mean.

#include "shell/BarreEtat.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/Analyse.h"
#include "tree/ui/frmLegende.h"

#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

// A long server list or file path loses its middle, not its end, when the window is narrow.
class EtiquetteAbregee : public QLabel {
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override {
        return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter peintre(this);
        const QRect zone = contentsRect();
        peintre.drawText(zone, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, zone.width()));
    }
};

QLabel* ajouteSection(QStatusBar* barre, const QString& nom, int etirement) {
    auto* etiquette = etirement > 0 ? new EtiquetteAbregee(barre) : new QLabel(barre);
    etiquette->setObjectName(nom);
    etiquette->setTextInteractionFlags(Qt::TextSelectableByMouse);
    barre->addWidget(etiquette, etirement);
    return etiquette;
}

void montre(QLabel* etiquette, const QString& texte) {
    etiquette->setText(texte);
    etiquette->setToolTip(texte);
    etiquette->setVisible(!texte.isEmpty());
}

} // namespace

void frmPrincipal::creeBarreEtat() {
    QStatusBar* barre = statusBar();
    barre->setObjectName(u"barreEtat"_s);
    lblBarreAnnuaire = ajouteSection(barre, u"lblBarreAnnuaire"_s, 2);
    lblBarreIdentite = ajouteSection(barre, u"lblBarreIdentite"_s, 0);
    lblBarreMode = ajouteSection(barre, u"lblBarreMode"_s, 1);
    lblBarreNoeuds = ajouteSection(barre, u"lblBarreNoeuds"_s, 0);
    // Operations add and remove nodes one by one: the count follows once they are done.
    tmrBarreEtat = new QTimer(this);
    tmrBarreEtat->setObjectName(u"tmrBarreEtat"_s);
    tmrBarreEtat->setSingleShot(true);
    tmrBarreEtat->setInterval(0);
    connect(tmrBarreEtat, &QTimer::timeout, this, &frmPrincipal::MetAJourBarreEtat);
    for (auto signal : {&Arbre::nodeInserted, &Arbre::nodeRemoved})
        connect(&m_arbre, signal, tmrBarreEtat, [this] {
            if (!m_analyseEnCours)
                tmrBarreEtat->start();
        });
    connect(&m_arbre, &Arbre::reset, tmrBarreEtat, qOverload<>(&QTimer::start));
    MetAJourBarreEtat();
}

void frmPrincipal::MetAJourBarreEtat() {
    const TextesBarreEtat textes = CalculeTextesBarreEtat(
        m_session.get(), m_analyse ? m_analyse->ModeAnalyse : Mode::Standard, m_arbre.Count());
    montre(lblBarreAnnuaire, textes.annuaire);
    montre(lblBarreIdentite, textes.identite);
    montre(lblBarreMode, textes.mode);
    montre(lblBarreNoeuds, textes.noeuds);
}

void frmPrincipal::mnuAideLegende_Click() {
    frmLegende::Affiche(this);
}

} // namespace arbrix
