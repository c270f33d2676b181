#pragma once

// The texts of the command-line program, by key, with their built-in French texts. A language
// file translates them like every other text (section "Traduction", or a <KEY> block for the
// help); keys missing from the file keep the French text.

#include <QString>
#include <QStringList>

namespace arbrix {

namespace CleTexteCli {
inline const QString OptionInconnue = QStringLiteral("MSG_CLI_OPTION_INCONNUE");
inline const QString ValeurManquante = QStringLiteral("MSG_CLI_VALEUR_MANQUANTE");
inline const QString TypeInvalide = QStringLiteral("MSG_CLI_TYPE_INVALIDE");
inline const QString ModeInvalide = QStringLiteral("MSG_CLI_MODE_INVALIDE");
inline const QString ReglageInvalide = QStringLiteral("MSG_CLI_REGLAGE_INVALIDE");
inline const QString ReglageInconnu = QStringLiteral("MSG_CLI_REGLAGE_INCONNU");
inline const QString ReglageMotDePasse = QStringLiteral("MSG_CLI_REGLAGE_MOT_DE_PASSE");
inline const QString NomManquant = QStringLiteral("MSG_CLI_NOM_MANQUANT");
inline const QString AideCourte = QStringLiteral("MSG_CLI_AIDE_COURTE");
inline const QString FichierReglagesIntrouvable = QStringLiteral("MSG_CLI_FICHIER_REGLAGES_INTROUVABLE");
inline const QString MotDePasseIllisible = QStringLiteral("MSG_CLI_MOT_DE_PASSE_ILLISIBLE");
inline const QString MotDePasseManquant = QStringLiteral("MSG_CLI_MOT_DE_PASSE_MANQUANT");
inline const QString CopieReglagesImpossible = QStringLiteral("MSG_CLI_COPIE_REGLAGES_IMPOSSIBLE");
inline const QString MessageIllisible = QStringLiteral("MSG_CLI_MESSAGE_ILLISIBLE");
inline const QString MessageVide = QStringLiteral("MSG_CLI_MESSAGE_VIDE");
inline const QString SujetInvalide = QStringLiteral("MSG_CLI_SUJET_INVALIDE");
inline const QString EtendueInvalide = QStringLiteral("MSG_CLI_ETENDUE_INVALIDE");
inline const QString FormatInvalide = QStringLiteral("MSG_CLI_FORMAT_INVALIDE");
inline const QString FinLigneInvalide = QStringLiteral("MSG_CLI_FIN_LIGNE_INVALIDE");
inline const QString FinLigneHorsCsv = QStringLiteral("MSG_CLI_FIN_LIGNE_HORS_CSV");
inline const QString OptionHorsCommande = QStringLiteral("MSG_CLI_OPTION_HORS_COMMANDE");
inline const QString UsageCommande = QStringLiteral("MSG_CLI_USAGE_COMMANDE");
inline const QString GroupeIntrouvable = QStringLiteral("MSG_CLI_GROUPE_INTROUVABLE");
inline const QString ParentIntrouvable = QStringLiteral("MSG_CLI_PARENT_INTROUVABLE");
inline const QString MembreIntrouvable = QStringLiteral("MSG_CLI_MEMBRE_INTROUVABLE");
inline const QString Plusieurs = QStringLiteral("MSG_CLI_PLUSIEURS");
inline const QString PasMembre = QStringLiteral("MSG_CLI_PAS_MEMBRE");
inline const QString ConfirmationImpossible = QStringLiteral("MSG_CLI_CONFIRMATION_IMPOSSIBLE");
inline const QString QuestionOuiNon = QStringLiteral("MSG_CLI_QUESTION_OUI_NON");
inline const QString Aide = QStringLiteral("TXT_CLI_AIDE");
} // namespace CleTexteCli

// The text of a key in the current language (see ChargeTraductions), its "%v" filled in order
// by the values; an unknown key gives the key itself.
QString TexteCli(const QString& cle, const QStringList& valeurs = {});
// Every key of the program's texts (for checking that a language file translates them all).
QStringList ClesTexteCli();

} // namespace arbrix
