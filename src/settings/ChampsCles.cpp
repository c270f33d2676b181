#include "settings/ChampsCles.h"

#include "settings/OptionsExport.h"
#include "settings/ParametresIni.h"
#include "settings/Valeurs.h"

#include <cmath>
#include <type_traits>

namespace arbrix {

namespace {

template <typename Champ> struct MembreDe;
template <typename Valeur, typename Objet> struct MembreDe<Valeur Objet::*> {
    using objet = Objet;
    using valeur = Valeur;
};

QString TexteEcrit(bool valeur) {
    return TexteDuBooleen(valeur);
}

template <typename Entier> QString TexteEcrit(Entier valeur) {
    return QString::number(valeur);
}

QString TexteEcrit(const QString& valeur) {
    return valeur;
}

bool BooleenLu(const DescriptionCle& cle, const QString& texte) {
    return cle.genre == GenreCle::Case ? NombreEnTete(texte) == -1.0 : BooleenDuTexte(texte);
}

template <typename Entier> Entier EntierLu(const DescriptionCle& cle, const QString& texte) {
    if (cle.genre == GenreCle::Choix) {
        const double n = std::nearbyint(NombreEnTete(texte));
        return n >= cle.minimum && n <= cle.maximum ? Entier(n) : Entier(cle.minimum);
    }
    Entier n = 0;
    if constexpr (std::is_same_v<Entier, qint16>)
        n = Entier16DuTexte(texte, cle.nom);
    else
        n = Entier32DuTexte(texte, cle.nom);
    if (cle.genre == GenreCle::EntierBorne)
        return qBound(Entier(cle.minimum), n, Entier(cle.maximum));
    return n;
}

QString TexteLu(const DescriptionCle& cle, const QString& texte) {
    return cle.genre == GenreCle::MotDePasse ? DechiffreMotDePasse(texte) : texte;
}

template <typename Valeur> Valeur ValeurLue(const DescriptionCle& cle, const QString& texte) {
    if constexpr (std::is_same_v<Valeur, bool>)
        return BooleenLu(cle, texte);
    else if constexpr (std::is_same_v<Valeur, QString>)
        return TexteLu(cle, texte);
    else
        return EntierLu<Valeur>(cle, texte);
}

template <typename Objet>
void Lit(const LotIni& lot, const DescriptionCle& cle, Objet& objet, const Objet& defauts) {
    std::visit(
        [&](auto champ) {
            using Champ = decltype(champ);
            if constexpr (!std::is_same_v<Champ, std::monostate>) {
                if constexpr (std::is_same_v<typename MembreDe<Champ>::objet, Objet>) {
                    using Valeur = typename MembreDe<Champ>::valeur;
                    const QString texte = lot.Lit(cle.section, cle.nom, TexteEcrit(defauts.*champ));
                    objet.*champ = ValeurLue<Valeur>(cle, texte);
                }
            }
        },
        cle.champ);
}

template <typename Objet> void Ecrit(LotIni& lot, const DescriptionCle& cle, const Objet& objet) {
    std::visit(
        [&](auto champ) {
            using Champ = decltype(champ);
            if constexpr (!std::is_same_v<Champ, std::monostate>) {
                if constexpr (std::is_same_v<typename MembreDe<Champ>::objet, Objet>) {
                    if constexpr (std::is_same_v<typename MembreDe<Champ>::valeur, QString>) {
                        if (cle.genre == GenreCle::MotDePasse) {
                            const QString texte = ChiffreMotDePasse(objet.*champ);
                            lot.Ecrit(cle.section, cle.nom, texte,
                                      texte.isEmpty() ? AccesIni::Conserve : AccesIni::ProprietaireSeul);
                            return;
                        }
                    }
                    lot.Ecrit(cle.section, cle.nom, TexteEcrit(objet.*champ));
                }
            }
        },
        cle.champ);
}

} // namespace

void LitChamp(const LotIni& lot, const DescriptionCle& cle, Parametres& parametres,
              const Parametres& defauts) {
    Lit(lot, cle, parametres, defauts);
}

void LitChamp(const LotIni& lot, const DescriptionCle& cle, OptionsExport& options,
              const OptionsExport& defauts) {
    Lit(lot, cle, options, defauts);
}

void EcritChamp(LotIni& lot, const DescriptionCle& cle, const Parametres& parametres) {
    Ecrit(lot, cle, parametres);
}

void EcritChamp(LotIni& lot, const DescriptionCle& cle, const OptionsExport& options) {
    Ecrit(lot, cle, options);
}

} // namespace arbrix
