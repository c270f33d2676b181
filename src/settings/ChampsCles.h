#pragma once

// One key of the table (settings/Cles.h) read into its field or written from it, by the rules of
// its kind. Keys of another record, or without a field, are left alone.

#include "settings/Cles.h"
#include "settings/Ini.h"

namespace arbrix {

// A missing key gives the field's value in defauts.
void LitChamp(const LotIni& lot, const DescriptionCle& cle, Parametres& parametres,
              const Parametres& defauts);
void LitChamp(const LotIni& lot, const DescriptionCle& cle, OptionsExport& options,
              const OptionsExport& defauts);

// A password is written scrambled, in a file then made readable by its owner only.
void EcritChamp(LotIni& lot, const DescriptionCle& cle, const Parametres& parametres);
void EcritChamp(LotIni& lot, const DescriptionCle& cle, const OptionsExport& options);

} // namespace arbrix
