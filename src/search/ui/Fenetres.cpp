#include "search/ui/Fenetres.h"

#include "i18n/TraductionFeuille.h"

#include <QCheckBox>
#include <QCollator>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>

#include <functional>

namespace arbrix {

namespace {

// How one kind of control gives and takes its text.
struct Acces {
    GenreControle genre = GenreControle::Autre;
    std::function<QString()> lit;
    std::function<void(const QString&)> ecrit;
};

Acces AccesDe(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w))
        return {GenreControle::Etiquette, [l] { return l->text(); },
                [l](const QString& t) { l->setText(t); }};
    if (auto* c = qobject_cast<QCheckBox*>(w))
        return {GenreControle::CaseACocher, [c] { return c->text(); },
                [c](const QString& t) { c->setText(t); }};
    if (auto* r = qobject_cast<QRadioButton*>(w))
        return {GenreControle::BoutonOption, [r] { return r->text(); },
                [r](const QString& t) { r->setText(t); }};
    if (auto* b = qobject_cast<QPushButton*>(w))
        return {GenreControle::Bouton, [b] { return b->text(); }, [b](const QString& t) { b->setText(t); }};
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return {GenreControle::Cadre, [g] { return g->title(); }, [g](const QString& t) { g->setTitle(t); }};
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return {GenreControle::ZoneTexte, [e] { return e->text(); },
                [e](const QString& t) { e->setText(t); }};
    if (qobject_cast<QTabWidget*>(w))
        return {GenreControle::Onglets, {}, {}};
    return {};
}

DescriptionControle Decrit(const QString& objectName, GenreControle genre) {
    static const QRegularExpression membre(QStringLiteral("^(.+)_(\\d+)$"));
    DescriptionControle d;
    d.genre = genre;
    d.nom = objectName;
    if (const auto m = membre.match(objectName); m.hasMatch()) {
        d.nom = m.captured(1);
        d.index = m.captured(2).toInt();
    }
    return d;
}

} // namespace

namespace {

// The controls' texts, then the menus' titles and items, translated and put back.
void Traduit(const QString& nomFeuille, QString& titre, const QList<QWidget*>& controles,
             const QList<QMenu*>& menus) {
    DescriptionFeuille feuille{nomFeuille, titre, {}};
    QList<QWidget*> widgets;
    QList<Acces> acces;
    for (QWidget* w : controles) {
        Acces a = AccesDe(w);
        if (a.genre == GenreControle::Autre)
            continue;
        DescriptionControle d = Decrit(w->objectName(), a.genre);
        if (auto* onglets = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < onglets->count(); ++i)
                d.onglets.append(onglets->tabText(i));
        } else {
            d.texte = a.lit();
        }
        feuille.controles.append(d);
        widgets.append(w);
        acces.append(a);
    }
    QList<QAction*> actions;
    for (QMenu* menu : menus) {
        actions.append(menu->menuAction());
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                actions.append(action);
    }
    for (QAction* action : actions)
        feuille.controles.append({action->objectName(), -1, GenreControle::Menu, action->text(), {}});
    TraduitFeuille(feuille);
    titre = feuille.titre;
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        const DescriptionControle& d = feuille.controles[i];
        if (auto* onglets = qobject_cast<QTabWidget*>(widgets[i])) {
            for (int t = 0; t < onglets->count() && t < d.onglets.size(); ++t)
                onglets->setTabText(t, d.onglets[t]);
        } else {
            acces[i].ecrit(d.texte);
        }
    }
    for (qsizetype i = 0; i < actions.size(); ++i)
        actions[i]->setText(feuille.controles[widgets.size() + i].texte);
}

} // namespace

void TraduitFenetre(QWidget* fenetre) {
    QList<QWidget*> nommes;
    for (QWidget* w : fenetre->findChildren<QWidget*>()) {
        const QString nom = w->objectName();
        if (!nom.isEmpty() && !nom.startsWith(QStringLiteral("qt_")))
            nommes.append(w);
    }
    QString titre = fenetre->windowTitle();
    Traduit(fenetre->objectName(), titre, nommes, {});
    fenetre->setWindowTitle(titre);
}

void TraduitControles(const QWidget* fenetre, const QList<QWidget*>& controles, const QList<QMenu*>& menus) {
    QString titre = fenetre->windowTitle();
    Traduit(fenetre->objectName(), titre, controles, menus);
}

bool LigneTriable::operator<(const QTreeWidgetItem& autre) const {
    const int colonne = treeWidget() ? treeWidget()->sortColumn() : 0;
    static const QCollator tri; // the user's collation, made once
    return tri.compare(text(colonne), autre.text(colonne)) < 0;
}

void TriParEnTete(QTreeWidget* liste) {
    QHeaderView* entete = liste->header();
    entete->setStretchLastSection(false);
    entete->setSectionsClickable(true);
    for (int c = 0; c < liste->columnCount(); ++c)
        liste->resizeColumnToContents(c);
    liste->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Once its indicator shows, the header turns it over at each click on the same column.
    QObject::connect(entete, &QHeaderView::sectionClicked, liste, [liste, entete](int colonne) {
        if (!entete->isSortIndicatorShown()) {
            entete->setSortIndicatorShown(true);
            entete->setSortIndicator(colonne, Qt::AscendingOrder);
        }
        liste->sortItems(colonne, entete->sortIndicatorOrder());
    });
}

void AppliquePremierPlan(QWidget* fenetre, bool auDessus) {
    if (fenetre->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == auDessus)
        return;
    const bool visible = fenetre->isVisible();
    fenetre->setWindowFlag(Qt::WindowStaysOnTopHint, auDessus);
    if (visible) // changing a window flag hides the window
        fenetre->show();
}

void AppliquePremierPlanDuParent(QWidget* dialogue) {
    const QWidget* parent = dialogue->parentWidget();
    AppliquePremierPlan(dialogue,
                        parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

} // namespace arbrix
