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
        {EtendueInvalide,
         QStringLiteral("Étendue inconnue : '%v' (valeurs possibles : local, global, universal).")},
        {FormatInvalide, QStringLiteral("Format inconnu : '%v' (valeurs possibles : text, csv, json).")},
        {FinLigneInvalide, QStringLiteral("Fin de ligne inconnue : '%v' (valeurs possibles : crlf, lf).")},
        {FinLigneHorsCsv,
         QStringLiteral("L'option --line-ending ne s'applique qu'au format csv (--format csv).")},
        {OptionHorsCommande, QStringLiteral("Option sans objet pour cette commande : %v")},
        {UsageCommande, QStringLiteral("Utilisation : %v")},
        {GroupeIntrouvable, QStringLiteral("Aucun groupe ne correspond à '%v'.")},
        {ParentIntrouvable, QStringLiteral("Aucune O.U. ni aucun groupe ne correspond à '%v'.")},
        {MembreIntrouvable, QStringLiteral("Aucun compte ni aucun groupe ne correspond à '%v'.")},
        {Plusieurs, QStringLiteral("Plusieurs objets correspondent à '%v' :")},
        {PasMembre, QStringLiteral("'%v' n'est pas membre du groupe '%v' : il n'est pas déplacé.")},
        {ConfirmationImpossible,
         QStringLiteral("La suppression doit être confirmée et l'entrée standard n'est pas un terminal : "
                        "ajoutez --yes pour confirmer.")},
        {QuestionOuiNon, QStringLiteral("Répondre o (oui) ou n (non) : ")},
        {CopieReglagesImpossible,
         QStringLiteral("Impossible de préparer la copie de travail de la configuration (%v).")},
        {MessageIllisible, QStringLiteral("Impossible de lire le message à envoyer ('%v').")},
        {MessageVide, QStringLiteral("Le message à envoyer est vide.")},
        {SujetInvalide,
         QStringLiteral("L'objet du message (--subject) tient sur une ligne, sans caractère de "
                        "contrôle.")},
        {Aide,
         QStringLiteral(
             "Utilisation : arbrix-cli [tree] [OPTIONS] NOM-OU-DN\n"
             "              arbrix-cli create-group [--security|--distribution]\n"
             "                         [--scope local|global|universal] [OPTIONS] PARENT NOM\n"
             "              arbrix-cli rename-group [OPTIONS] GROUPE NOUVEAU-NOM\n"
             "              arbrix-cli remove-member [OPTIONS] GROUPE MEMBRE...\n"
             "              arbrix-cli add-member [OPTIONS] GROUPE MEMBRE...\n"
             "              arbrix-cli move-member [OPTIONS] DE-GROUPE VERS-GROUPE MEMBRE...\n"
             "              arbrix-cli delete-group [--yes] [OPTIONS] GROUPE\n"
             "              arbrix-cli send-message [--message-file FICHIER] [--subject OBJET]\n"
             "                         [OPTIONS] NOM-OU-DN\n"
             "              arbrix-cli properties [OPTIONS] DN\n"
             "              arbrix-cli member-of [--effective] [OPTIONS] NOM-OU-DN\n"
             "\n"
             "tree (la commande par défaut) analyse une O.U. ou un groupe de l'annuaire et écrit sur la\n"
             "sortie standard, en UTF-8 et suivi d'un saut de ligne, l'export texte de toute\n"
             "l'arborescence depuis sa racine, ou avec --format csv|json un document pour les scripts.\n"
             "\n"
             "NOM-OU-DN  un DN commençant par \"OU=\" (une O.U.) ou \"CN=\" (un groupe) ; sinon un nom\n"
             "           cherché comme --type l'indique (\"*\" en joker). Plusieurs mots sont joints\n"
             "           par des espaces ; \"--\" devant un nom qui serait une commande.\n"
             "\n"
             "Commandes sur les groupes (avec les droits du compte de connexion) :\n"
             "  create-group   crée le groupe NOM dans PARENT : une O.U. (son DN) ou un groupe (son\n"
             "                 DN ou son nom), auquel cas le groupe est créé dans l'O.U. de ce groupe\n"
             "                 et en devient membre. Type et étendue : --security ou --distribution,\n"
             "                 --scope ; par défaut les clés TypeGroupe et EtendueGroupe.\n"
             "  rename-group   renomme GROUPE en NOUVEAU-NOM (nom relatif puis nom de compte).\n"
             "  remove-member  retire chaque MEMBRE de GROUPE : un DN, le nom de compte\n"
             "                 (sAMAccountName) d'un compte ou le nom d'un groupe.\n"
             "  add-member     ajoute chaque MEMBRE à GROUPE : un DN, un compte par son nom de compte\n"
             "                 ou par son adresse (un texte avec \"@\"), ou un groupe par son nom.\n"
             "                 Un nom qui désigne plusieurs objets n'ajoute rien et les liste.\n"
             "  move-member    ajoute chaque MEMBRE à VERS-GROUPE puis le retire de DE-GROUPE ; un\n"
             "                 groupe ne quitte pas ainsi son O.U.\n"
             "  delete-group   supprime GROUPE après confirmation sur le terminal ; --yes confirme\n"
             "                 d'avance. Sans terminal ni --yes, la suppression est refusée.\n"
             "GROUPE est un DN ou un nom de groupe, cherché comme le fait l'analyse. Chaque changement\n"
             "fait est une ligne de la sortie standard, champs séparés par des tabulations :\n"
             "  created DN | added DN GROUPE | removed DN GROUPE | renamed ANCIEN-DN NOUVEAU-DN |\n"
             "  deleted DN\n"
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
             "  --security, --distribution, --scope local|global|universal  (create-group)\n"
             "  --yes                    confirme la suppression (delete-group)\n"
             "  --output FICHIER         écrit l'export dans ce fichier (UTF-8, fin de ligne CR LF)\n"
             "                           comme la fenêtre d'export, au lieu de la sortie standard\n"
             "  --format text|csv|json   text (défaut) : l'export texte ; csv : une ligne par membre\n"
             "                           et par groupe ou O.U. qui le contient, en-tête\n"
             "                           member,member_dn,kind,state,group,group_dn,path ; json :\n"
             "                           l'arborescence en un document (name, dn, kind, state, count,\n"
             "                           children)\n"
             "  --line-ending crlf|lf    fin des lignes du CSV (défaut : crlf)\n"
             "  --verbose                journal de chaque requête à l'annuaire sur la sortie d'erreur\n"
             "                           (jamais un mot de passe)\n"
             "  --version                affiche la version\n"
             "  --help                   affiche cette aide\n"
             "\n"
             "arbrix-cli send-message [--message-file FICHIER] [--subject OBJET] [OPTIONS] NOM-OU-DN\n"
             "           envoie par courrier électronique le message du fichier (sinon de l'entrée\n"
             "           standard) au compte nommé, ou à chaque compte utilisateur trouvé sous l'O.U.\n"
             "           ou le groupe, à son adresse \"mail\", par la commande MessagerieCommande\n"
             "           (défaut : sendmail -i) ; les ordinateurs, sans boîte aux lettres, sont comptés\n"
             "           et laissés de côté. L'objet par défaut nomme l'expéditeur. Écrit une ligne par\n"
             "           destinataire puis le bilan. Code de sortie 0 quand chaque message a été remis\n"
             "           au système de messagerie, 1 sinon.\n"
             "\n"
             "arbrix-cli properties [OPTIONS] DN\n"
             "           écrit les propriétés du compte (utilisateur, ordinateur ou compte de\n"
             "           service) de DN, comme sa fenêtre de propriétés les montre : une ligne par\n"
             "           propriété, libellé et valeur séparés par une tabulation, puis une ligne par\n"
             "           groupe dont il est membre (libellé, nom du groupe, DN). Code de sortie 2\n"
             "           quand aucun compte n'a ce DN.\n"
             "\n"
             "arbrix-cli member-of [--effective] [OPTIONS] NOM-OU-DN\n"
             "           écrit les groupes dont le compte ou le groupe est membre, un par ligne : le\n"
             "           DN du groupe, une tabulation, puis les noms de la chaîne d'appartenance\n"
             "           séparés par \" > \". Avec --effective, aussi les groupes dont il est membre\n"
             "           par imbrication, chaque chaîne sur sa ligne ; une chaîne circulaire est\n"
             "           coupée et dite sur la sortie d'erreur. Le groupe principal d'un compte en\n"
             "           fait partie.\n"
             "\n"
             "Export : toute l'arborescence quelle que soit ExportEtendue, au format de --format et\n"
             "--line-ending quels que soient ExportType et ExportFinDeLigne. Pour le texte seul :\n"
             "ExportFormat 0-3, ExportStructure, ExportModeColonné, ExportIndentation et\n"
             "ExportSéparateur, où \\t, \\r et \\n sont décodés (le séparateur par défaut \\r\\n donne\n"
             "des fins de ligne CR LF) ; pour les trois formats : ExportComptes* et\n"
             "ExportAutresMembres. En CSV et JSON, kind vaut ou, group, user, computer, service,\n"
             "contact, foreign ou other, et state disabled, locked, expired, loop (groupe\n"
             "circulaire) ou rien.\n"
             "\n"
             "Environnement : ARBRIX_PASSWORD (mot de passe de --user), ARBRIX_DIRECTORY (annuaire par\n"
             "défaut, comme pour le programme de bureau).\n"
             "\n"
             "Les messages (erreurs, refus, récursivités détectées) vont sur la sortie d'erreur.\n"
             "\n"
             "Codes de sortie :\n"
             "  0  l'arborescence a été construite ; tout ce qui était demandé a été fait\n"
             "  2  aucun élément ou plusieurs trouvés ; les candidats sont écrits sur la sortie\n"
             "     d'erreur, un par ligne : nom, type et DN séparés par des tabulations\n"
             "  1  toute autre erreur, ou une opération refusée (ce qui a été fait reste fait et\n"
             "     figure sur la sortie standard)\n")},
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
