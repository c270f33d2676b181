#pragma once

// Typed values of the settings file. Booleans are stored "-1"/"0" and read as true when the
// leading number of the text is not 0; integers are stored as decimal text and read from the
// leading number of the text (a text without one reads as 0), rounded half to even; a number too
// large for its type raises ErreurExécution (NuméroErreur::Dépassement).

#include "settings/Ini.h"

#include <QString>
#include <QtGlobal>

namespace arbrix {

// The section that holds every setting of the program.
inline const QString SectionConfig = QStringLiteral("Config");

// The leading number of a text: spaces, then an optional sign, digits with an optional decimal
// point and exponent, or "&H" hexadecimal / "&O" octal. 0 when the text does not start with one.
double NombreEnTete(const QString& texte);

bool BooleenDuTexte(const QString& texte);
// clé only names the key in the error text.
qint16 Entier16DuTexte(const QString& texte, const QString& cle = {});
qint32 Entier32DuTexte(const QString& texte, const QString& cle = {});

QString TexteDuBooleen(bool valeur); // "-1" or "0"

// Readers of one key of a file; the default applies when the key is missing.
bool LitBooleen(const QString& fichier, const QString& section, const QString& cle, bool defaut);
qint16 LitEntier16(const QString& fichier, const QString& section, const QString& cle, qint16 defaut);
qint32 LitEntier32(const QString& fichier, const QString& section, const QString& cle, qint32 defaut);

// Writers; they convert to false when the file could not be written.
EcritureIni EcritBooleen(const QString& fichier, const QString& section, const QString& cle, bool valeur);
EcritureIni EcritEntier(const QString& fichier, const QString& section, const QString& cle, qint64 valeur);

} // namespace arbrix
