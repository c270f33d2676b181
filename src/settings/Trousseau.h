#pragma once

// Where the directory password is kept: the desktop's keyring when the program has one, else
// (no D-Bus session, no Secret Service) scrambled in the settings file, as before keyrings.
// One entry per server and login.

#include "settings/Parametres.h"

#include <QString>

#include <memory>
#include <optional>

namespace arbrix {

class Trousseau {
public:
    virtual ~Trousseau() = default;
    // False when no keyring answers here.
    virtual bool disponible() = 0;
    // The password kept under that name; nullopt when there is none or the keyring failed.
    virtual std::optional<QString> lit(const QString& entree) = 0;
    // True once the keyring holds it.
    virtual bool ecrit(const QString& entree, const QString& motDePasse) = 0;
    virtual void efface(const QString& entree) = 0;
};

// The program-wide keyring, installed by the programs at start-up; none in the tests that do not
// install one, where the password stays in the file.
void InstalleTrousseau(std::unique_ptr<Trousseau> trousseau);
Trousseau* TrousseauCourant();
// The current keyring when it answers, else nullptr.
Trousseau* TrousseauDisponible();

// The entry of the configured account: its login and the server (mode 2: the domain) it is for.
QString EntreeTrousseau(const Parametres& parametres);

} // namespace arbrix
