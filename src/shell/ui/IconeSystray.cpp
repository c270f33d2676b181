#include "shell/ui/IconeSystray.h"

#include "tree/ui/Icones.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

QAction* ajouteAction(QMenu* menu, const QString& nom, const QString& texte) {
    QAction* action = menu->addAction(texte);
    action->setObjectName(nom);
    return action;
}

} // namespace

IconeSystray::IconeSystray(QWidget* fenetre)
    : QObject(fenetre) {
    // A menu of its own, never in the menu bar.
    m_menu = new QMenu(u"Systray"_s, fenetre);
    m_menu->setObjectName(u"mnuSystray"_s);
    m_menu->menuAction()->setObjectName(u"mnuSystray"_s);
    QAction* restaurer = ajouteAction(m_menu, u"mnuSystrayRestaurer"_s, u"&Restaurer"_s);
    m_menu->addSeparator()->setObjectName(u"mnuSystraySep1"_s);
    ajouteAction(m_menu, u"mnuSystrayAnnuler"_s, u"&Annuler"_s);
    m_menu->addSeparator()->setObjectName(u"mnuSystraySep2"_s);
    QAction* quitter = ajouteAction(m_menu, u"mnuSystrayQuitter"_s, u"&Quitter"_s);
    QFont gras = restaurer->font();
    gras.setBold(true);
    restaurer->setFont(gras);
    m_menu->setDefaultAction(restaurer);
    connect(restaurer, &QAction::triggered, this, &IconeSystray::restaurationDemandee);
    connect(quitter, &QAction::triggered, this, &IconeSystray::fermetureDemandee);

    m_icone = new QSystemTrayIcon(IconeApplication(), this);
    m_icone->setObjectName(u"systray"_s);
    m_icone->setContextMenu(m_menu);
    connect(m_icone, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason raison) {
        if (!m_affichee || m_traitement)
            return;
        m_traitement = true;
        if (raison == QSystemTrayIcon::DoubleClick || raison == QSystemTrayIcon::Trigger)
            emit restaurationDemandee();
        m_traitement = false;
    });
}

bool IconeSystray::Disponible() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void IconeSystray::Affiche(const QString& infobulle) {
    // The tip holds at most 63 characters.
    m_icone->setToolTip(infobulle.left(63));
    m_icone->show();
    m_affichee = true;
}

void IconeSystray::Retire() {
    m_icone->hide();
    m_affichee = false;
}

} // namespace arbrix
