#include "settings/Trousseau.h"

namespace arbrix {

static std::unique_ptr<Trousseau>& trousseauGlobal() {
    static std::unique_ptr<Trousseau> trousseau;
    return trousseau;
}

void InstalleTrousseau(std::unique_ptr<Trousseau> trousseau) {
    trousseauGlobal() = std::move(trousseau);
}

Trousseau* TrousseauCourant() {
    return trousseauGlobal().get();
}

Trousseau* TrousseauDisponible() {
    Trousseau* t = TrousseauCourant();
    return t && t->disponible() ? t : nullptr;
}

QString EntreeTrousseau(const Parametres& p) {
    const QString serveur = p.AccesAD == 2 ? p.AccesADDomaine : p.AccesADServeur;
    return serveur.isEmpty() ? p.AccesADLogin : p.AccesADLogin + QStringLiteral(" on ") + serveur;
}

} // namespace arbrix
