#include "search/ui/Fenetres.h"

#include "i18n/TraductionFeuille.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>

#include <functional>

namespace arbrix {

namespace {

// How one kind of control gives and takes its text.
struct Accès {
    GenreContrôle genre = GenreContrôle::Autre;
    std::function<QString()> lit;
    std::function<void(const QString&)> écrit;
};

Accès AccèsDe(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w))
        return {GenreContrôle::Etiquette, [l] { return l->text(); },
                [l](const QString& t) { l->setText(t); }};
    if (auto* c = qobject_cast<QCheckBox*>(w))
        return {GenreContrôle::CaseACocher, [c] { return c->text(); },
                [c](const QString& t) { c->setText(t); }};
    if (auto* r = qobject_cast<QRadioButton*>(w))
        return {GenreContrôle::BoutonOption, [r] { return r->text(); },
                [r](const QString& t) { r->setText(t); }};
    if (auto* b = qobject_cast<QPushButton*>(w))
        return {GenreContrôle::Bouton, [b] { return b->text(); }, [b](const QString& t) { b->setText(t); }};
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return {GenreContrôle::Cadre, [g] { return g->title(); }, [g](const QString& t) { g->setTitle(t); }};
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return {GenreContrôle::ZoneTexte, [e] { return e->text(); },
                [e](const QString& t) { e->setText(t); }};
    if (qobject_cast<QTabWidget*>(w))
        return {GenreContrôle::Onglets, {}, {}};
    return {};
}

DescriptionContrôle Décrit(const QString& objectName, GenreContrôle genre) {
    static const QRegularExpression membre(QStringLiteral("^(.+)_(\\d+)$"));
    DescriptionContrôle d;
    d.genre = genre;
    d.nom = objectName;
    if (const auto m = membre.match(objectName); m.hasMatch()) {
        d.nom = m.captured(1);
        d.index = m.captured(2).toInt();
    }
    return d;
}

} // namespace

void TraduitFenêtre(QWidget* fenêtre) {
    DescriptionFeuille feuille{fenêtre->objectName(), fenêtre->windowTitle(), {}};
    QList<QWidget*> widgets;
    QList<Accès> accès;
    for (QWidget* w : fenêtre->findChildren<QWidget*>()) {
        const QString nom = w->objectName();
        if (nom.isEmpty() || nom.startsWith(QStringLiteral("qt_")))
            continue;
        Accès a = AccèsDe(w);
        if (a.genre == GenreContrôle::Autre)
            continue;
        DescriptionContrôle d = Décrit(nom, a.genre);
        if (auto* onglets = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < onglets->count(); ++i)
                d.onglets.append(onglets->tabText(i));
        } else {
            d.texte = a.lit();
        }
        feuille.contrôles.append(d);
        widgets.append(w);
        accès.append(a);
    }
    TraduitFeuille(feuille);
    fenêtre->setWindowTitle(feuille.titre);
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        const DescriptionContrôle& d = feuille.contrôles[i];
        if (auto* onglets = qobject_cast<QTabWidget*>(widgets[i])) {
            for (int t = 0; t < onglets->count() && t < d.onglets.size(); ++t)
                onglets->setTabText(t, d.onglets[t]);
        } else {
            accès[i].écrit(d.texte);
        }
    }
}

void AppliquePremierPlan(QWidget* fenêtre, bool auDessus) {
    if (fenêtre->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == auDessus)
        return;
    const bool visible = fenêtre->isVisible();
    fenêtre->setWindowFlag(Qt::WindowStaysOnTopHint, auDessus);
    if (visible) // changing a window flag hides the window
        fenêtre->show();
}

void AppliquePremierPlanDuParent(QWidget* dialogue) {
    const QWidget* parent = dialogue->parentWidget();
    AppliquePremierPlan(dialogue,
                        parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

} // namespace arbrix
