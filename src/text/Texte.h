#pragma once

// Text helpers used across the program.

#include "text/Erreur.h"
#include "text/Systeme.h"
#include "text/Version.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace arbrix {

// Fills each "%v" (or "%V") in turn with the text of the next value; missing values give empty
// texts, surplus values are ignored. The search restarts from the beginning after each fill, so
// a value holding "%v" has it filled by the next value.
QString FormateMessage(const QString& texte, const QVariantList& valeurs);

// A folder path with the path separator "/" appended unless it already ends with one.
QString AjouteAntislash(const QString& chemin);

} // namespace arbrix
