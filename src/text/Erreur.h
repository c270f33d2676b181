#pragma once

#include <QString>
#include <QtGlobal>

#include <exception>
#include <string>

namespace arbrix {

// A run-time error with the number callers and messages show ("MSG_ERREUR",
// "MSG_ERREUR_INITIALISATION") and its text.
class ErreurExecution : public std::exception {
public:
    ErreurExecution(qint32 numero, QString texte);
    qint32 numero() const noexcept { return m_numero; }
    const QString& texte() const noexcept { return m_texte; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_numero;
    QString m_texte;
    std::string m_what;
};

// The run-time error numbers the program raises itself.
namespace NumeroErreur {
inline constexpr qint32 AppelIncorrect = 5;
inline constexpr qint32 Depassement = 6;
inline constexpr qint32 IndiceHorsLimites = 9;
inline constexpr qint32 ErreurInterne = 51;
inline constexpr qint32 AccesFichier = 75;
} // namespace NumeroErreur

} // namespace arbrix
