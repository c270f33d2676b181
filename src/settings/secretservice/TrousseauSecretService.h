#pragma once

// The keyring of the desktop session: the freedesktop Secret Service (GNOME Keyring, KWallet,
// KeePassXC...) reached over D-Bus through QtKeychain. Both programs install it at start-up.

#include "settings/Trousseau.h"

#include <optional>

namespace arbrix {

class TrousseauSecretService : public Trousseau {
public:
    bool disponible() override;
    std::optional<QString> lit(const QString& entree) override;
    bool ecrit(const QString& entree, const QString& motDePasse) override;
    void efface(const QString& entree) override;

private:
    std::optional<bool> m_disponible;
};

} // namespace arbrix
