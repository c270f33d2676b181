#pragma once

#include <QString>
#include <QtGlobal>

#include <exception>
#include <string>

namespace arbrix {

// A run-time error with the number callers and messages show ("MSG_ERREUR",
// "MSG_ERREUR_INITIALISATION") and its text.
class ErreurExécution : public std::exception {
public:
    ErreurExécution(qint32 numéro, QString texte);
    qint32 numéro() const noexcept { return m_numéro; }
    const QString& texte() const noexcept { return m_texte; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_numéro;
    QString m_texte;
    std::string m_what;
};

// The run-time error numbers the program raises itself.
namespace NuméroErreur {
inline constexpr qint32 AppelIncorrect = 5;
inline constexpr qint32 Dépassement = 6;
inline constexpr qint32 IndiceHorsLimites = 9;
inline constexpr qint32 ErreurInterne = 51;
inline constexpr qint32 AccèsFichier = 75;
} // namespace NuméroErreur

} // namespace arbrix
