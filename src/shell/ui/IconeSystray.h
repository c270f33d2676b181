#pragma once

// The icon of the main window in the system tray, shown while the window is minimised there,
// with its popup menu: restore, cancel, quit.

#include <QObject>

class QMenu;
class QSystemTrayIcon;

namespace arbrix {

class IconeSystray : public QObject {
    Q_OBJECT
public:
    explicit IconeSystray(QWidget* fenetre);

    // Without a tray the window just stays minimised.
    static bool Disponible();
    void Affiche(const QString& infobulle);
    void Retire();
    bool Affichee() const { return m_affichee; }
    QMenu* menu() const { return m_menu; }

signals:
    void restaurationDemandee();
    void fermetureDemandee();

private:
    QMenu* m_menu = nullptr;
    QSystemTrayIcon* m_icone = nullptr;
    bool m_affichee = false;
    bool m_traitement = false;
};

} // namespace arbrix
