#include "cli/TextesCli.h"

#include "i18n/Traductions.h"

#include <QHash>
#include <QStringList>

namespace arbrix {

namespace {

const QHash<QString, QString>& TextesFrancais() {
    using namespace CleTexteCli;
    static const QHash<QString, QString> textes = {
        {OptionInconnue, QStringLiteral("Option inconnue : %v")},
        {ValeurManquante, QStringLiteral("L'option %v attend une valeur.")},
        {TypeInvalide, QStringLiteral("Type inconnu : '%v' (valeurs possibles : ou, group).")},
        {ModeInvalide, QStringLiteral("Mode d'analyse invalide : '%v' (valeurs possibles : 1 à 6).")},
        {ReglageInvalide, QStringLiteral("Réglage invalide : '%v' (CLE=VALEUR attendu).")},
        {ReglageInconnu, QStringLiteral("Clé inconnue dans la section Config : '%v'.")},
        {ReglageMotDePasse,
         QStringLiteral("Le mot de passe ne peut être donné sur la ligne de commande : utilisez "
                        "--password-file ou la variable d'environnement ARBRIX_PASSWORD.")},
        {NomManquant, QStringLiteral("Aucune O.U. ni aucun groupe à analyser n'a été indiqué.")},
        {AideCourte, QStringLiteral("Pour l'aide : arbrix-cli --help")},
        {FichierReglagesIntrouvable, QStringLiteral("Le fichier de configuration '%v' est introuvable.")},
        {MotDePasseIllisible, QStringLiteral("Impossible de lire le fichier de mot de passe '%v'.")},
        {MotDePasseManquant,
         QStringLiteral("Aucun mot de passe pour le compte '%v' : utilisez --password-file ou "
                        "la variable d'environnement ARBRIX_PASSWORD.")},
        {CopieReglagesImpossible,
         QStringLiteral("Impossible de préparer la copie de travail de la configuration (%v).")},
        {Aide,
         QStringLiteral(
             "Utilisation : arbrix-cli [OPTIONS] NOM-OU-DN\n"
             "\n"
             "Analyse une O.U. ou un groupe de l'annuaire et écrit sur la sortie standard, en UTF-8 et\n"
             "suivi d'un saut de ligne, l'export texte de toute l'arborescence depuis sa racine.\n"
             "\n"
             "NOM-OU-DN  un DN commençant par \"OU=\" (une O.U.) ou \"CN=\" (un groupe) ; sinon un nom\n"
             "           cherché comme --type l'indique (\"*\" en joker). Plusieurs mots sont joints\n"
             "           par des espaces.\n"
             "\n"
             "Options :\n"
             "  --directory SOURCE       l'annuaire : URI d'un serveur ou chemin d'un fichier .ldif\n"
             "                           (défaut : la clé AccèsADServeur, comme le programme de bureau)\n"
             "  --type ou|group          type du nom cherché (défaut : group)\n"
             "  --mode 1-6               mode d'analyse (défaut : la clé AnalyseParDéfaut) :\n"
             "                           1 standard, 2 comptes utilisateurs, 3 comptes ordinateurs,\n"
             "                           4 comptes de service, 5 structure O.U., 6 O.U. et groupes\n"
             "  --settings FICHIER       fichier de configuration à lire (défaut : celui de\n"
             "                           l'utilisateur) ; il n'est jamais écrit\n"
             "  --set CLE=VALEUR         valeur d'une clé de la section Config pour cette exécution\n"
             "                           (répétable), par exemple --set ExportFormat=2,\n"
             "                           --set ContrôlerVerrouilléExpiré=-1, --set Langue=Français\n"
             "  --user LOGIN             se connecter avec ce compte (mode d'accès 1) ; le mot de passe\n"
             "                           vient de --password-file ou de ARBRIX_PASSWORD\n"
             "  --password-file FICHIER  fichier dont la première ligne est le mot de passe\n"
             "  --output FICHIER         écrit l'export dans ce fichier (UTF-8, fin de ligne CR LF)\n"
             "                           comme la fenêtre d'export, au lieu de la sortie standard\n"
             "  --help                   affiche cette aide\n"
             "\n"
             "Export : toute l'arborescence quelle que soit ExportEtendue ; les autres clés Export*\n"
             "s'appliquent (ExportFormat 0-3, ExportStructure, ExportModeColonné, ExportComptes*,\n"
             "ExportIndentation et ExportSéparateur, où \\t, \\r et \\n sont décodés ; le séparateur\n"
             "par défaut \\r\\n donne des fins de ligne CR LF).\n"
             "\n"
             "Environnement : ARBRIX_PASSWORD (mot de passe de --user), ARBRIX_DIRECTORY (annuaire par\n"
             "défaut, comme pour le programme de bureau).\n"
             "\n"
             "Les messages (erreurs, récursivités détectées) vont sur la sortie d'erreur.\n"
             "\n"
             "Codes de sortie :\n"
             "  0  l'arborescence a été construite\n"
             "  2  aucun élément ou plusieurs trouvés ; les candidats sont écrits sur la sortie\n"
             "     d'erreur, un par ligne : nom, type et DN séparés par des tabulations\n"
             "  1  toute autre erreur\n")},
    };
    return textes;
}

} // namespace

QStringList ClesTexteCli() {
    return TextesFrancais().keys();
}

QString TexteCli(const QString& cle, const QStringList& valeurs) {
    const auto francais = TextesFrancais().constFind(cle);
    QString texte =
        LitTraduction(FichierLangue(), cle, francais == TextesFrancais().cend() ? cle : *francais);
    for (const QString& valeur : valeurs) {
        const qsizetype position = texte.indexOf(u"%v");
        if (position < 0)
            break;
        texte.replace(position, 2, valeur);
    }
    return texte;
}

} // namespace arbrix
