#include "shell/ui/BarreEtatFenetre.h"

#include "tree/Arbre.h"

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

BarreEtatFenetre::BarreEtatFenetre(QStatusBar* barre, Arbre& arbre, std::function<TextesBarreEtat()> calcule,
                                   std::function<bool()> pendantConstruction)
    : QObject(barre)
    , m_calcule(std::move(calcule)) {
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
    connect(tmrBarreEtat, &QTimer::timeout, this, &BarreEtatFenetre::MetAJour);
    for (auto signal : {&Arbre::nodeInserted, &Arbre::nodeRemoved})
        connect(&arbre, signal, tmrBarreEtat, [this, pendantConstruction] {
            if (!pendantConstruction())
                tmrBarreEtat->start();
        });
    connect(&arbre, &Arbre::reset, tmrBarreEtat, qOverload<>(&QTimer::start));
    MetAJour();
}

void BarreEtatFenetre::MetAJour() {
    const TextesBarreEtat textes = m_calcule();
    montre(lblBarreAnnuaire, textes.annuaire);
    montre(lblBarreIdentite, textes.identite);
    montre(lblBarreMode, textes.mode);
    montre(lblBarreNoeuds, textes.noeuds);
}

} // namespace arbrix
