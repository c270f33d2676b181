#include "i18n/CatalogueFrancais.h"

namespace arbrix {

const QList<TexteParDefaut>& TextesParDefaut() {
    static const QList<TexteParDefaut> textes = {
        {"TXT_NOM_GROUPE_A_CREER", "Veuillez saisir le nom du groupe à créer"},
        {"TXT_CONFIRMATION_SUPPRESSION_GROUPE",
         "Attention, vous êtes sur le point de supprimer le groupe '%v'.§§Chaque groupe est représenté par "
         "un "
         "identificateur unique qui est indépendant du nom du groupe. Une fois ce groupe supprimé, même la "
         "création d'une groupe possédant un nom identique ne rétablira pas l'accès aux ressources qui "
         "possèdent ce nom dans leur liste de contrôle d'accès.§§Confirmez-vous cette opération ?"},
        {"TXT_POPUP_CREER_GROUPE", "&Créer un groupe..."},
        {"TXT_POPUP_OUVRIR_OU_PARENT", "Ouvrir l'O.&U. parent"},
        {"TXT_POPUP_OUVRIR_OU_PARENT_NOUVELLE_INSTANCE",
         "Ouvrir l'O.U. parent dans une nouvelle &instance d'Arbrix"},
        {"TXT_POPUP_OUVRIR_A_PARTIR_DE_CE_POINT", "&Ouvrir à partir de ce point"},
        {"TXT_POPUP_OUVRIR_A_PARTIR_DE_CE_POINT_NOUVELLE_INSTANCE",
         "Ouvrir à partir de ce point dans une nouvelle &instance d'Arbrix..."},
        {"TXT_POPUP_COPIER_NOM_COMPTE", "Copier le nom (avec le compte)"},
        {"TXT_POPUP_COPIER_NOM", "Copier le nom"},
        {"TXT_POPUP_COPIER_COMPTE", "Copier le compte"},
        {"TXT_POPUP_COPIER_DISTINGUISHEDNAME", "Copier le DistinguishedName de l'élément sélectionné"},
        {"TXT_POPUP_EXPORTER", "Exporter..."},
        {"TXT_POPUP_COPIER_LISTE", "Copier la liste complète"},
        {"TXT_POPUP_MESSAGE_NETSEND_MEMBRES", "Envoyer un &message (courriel) aux membres..."},
        {"TXT_POPUP_MESSAGE_NETSEND", "Envoyer un &message (courriel)..."},
        {"TXT_POPUP_AJOUTER_COMPTES", "&Ajouter un ou plusieurs comptes..."},
        {"TXT_POPUP_AJOUTER_GROUPES", "A&jouter un ou plusieurs groupes..."},
        {"TXT_POPUP_RETIRER_GROUPE", "R&etirer le groupe"},
        {"TXT_POPUP_GROUPE_MEMBRE_DE", "&Lister les groupes dont est membre ce groupe..."},
        {"TXT_POPUP_RENOMMER_GROUPE", "&Renommer le groupe"},
        {"TXT_POPUP_SUPPRIMER_GROUPE", "&Supprimer le groupe..."},
        {"TXT_POPUP_RETIRER_COMPTE", "&Retirer le compte"},
        {"TXT_POPUP_RETIRER_MEMBRE", "&Retirer le membre"},
        {"TXT_POPUP_MEMBRE_MEMBRE_DE", "&Lister les groupes dont est membre cet objet..."},
        {"TXT_POPUP_REINITIALISER_PASSWORD", "Réinitialiser &password"},
        {"TXT_POPUP_COMPTE_MEMBRE_DE", "&Lister les groupes dont est membre ce compte..."},
        {"TXT_POPUP_INFOS_COMPTE", "Infos sur le compte (par &Quorvel)"},
        {"TXT_ANALYSE_STANDARD",
         "Analyse standard (O.U., groupes, comptes utilisateurs/ordinateurs/comptes de service)"},
        {"TXT_ANALYSE_STANDARD_UTILISATEURS", "Analyse restreinte aux comptes utilisateurs"},
        {"TXT_ANALYSE_STANDARD_ORDINATEURS", "Analyse restreinte aux comptes ordinateurs"},
        {"TXT_ANALYSE_STANDARD_COMPTES_DE_SERVICE",
         "Analyse restreinte aux comptes de service (MSA et gMSA)"},
        {"TXT_ANALYSE_STRUCTURE", "Analyse restreinte à la structure (O.U.)"},
        {"TXT_ANALYSE_STRUCTURE_ETENDUE", "Analyse restreinte à la structure étendue (O.U. et groupes)"},
        {"TXT_DESACTIVE", "désactivé"},
        {"TXT_EXPIRERA_LE", "expirera le"},
        {"TXT_EXPIRE_DEPUIS_LE", "expiré depuis le"},
        {"TXT_GROUPE_MEMBRE_DE", "Liste des groupes dont est membre le groupe '%v'"},
        {"TXT_COMPTE_MEMBRE_DE", "Liste des groupes dont est membre le compte '%v'"},
        {"TXT_APPARTENANCE_BOUCLE", "%v (appartenance circulaire, coupée là)"},
        // The properties of an account.
        {"TXT_PROP_TITRE", "Propriétés de %v"},
        {"TXT_PROP_NOM_AFFICHE", "Nom complet"},
        {"TXT_PROP_CN", "Nom (cn)"},
        {"TXT_PROP_COMPTE", "Nom de compte"},
        {"TXT_PROP_UPN", "Nom d'utilisateur principal (UPN)"},
        {"TXT_PROP_ETAT", "État"},
        {"TXT_PROP_ACTIF", "actif"},
        {"TXT_PROP_EXPIRATION", "Expiration du compte"},
        {"TXT_PROP_JAMAIS", "jamais"},
        {"TXT_PROP_VERROUILLE_DEPUIS", "Verrouillé depuis le"},
        {"TXT_PROP_MOT_DE_PASSE", "Mot de passe changé le"},
        {"TXT_PROP_DERNIERE_CONNEXION", "Dernière connexion"},
        {"TXT_PROP_MAIL", "Adresse électronique"},
        {"TXT_PROP_GESTIONNAIRE", "Responsable"},
        {"TXT_PROP_MEMBRE_DE", "Membre de"},
        {"TXT_PROP_AUCUN_GROUPE", "%v n'est membre d'aucun groupe."},
        {"TXT_PROP_COMPTE_INTROUVABLE", "Aucun compte n'a le DN '%v'."},
        {"ACC_PROPRIETES", "Propriétés du compte"},
        {"ACC_PROP_GROUPES", "Groupes dont le compte est membre"},
        {"MSG_ERREUR_RECHERCHE_ROOT_AD", "Impossible de déterminer le domaine root de l'Active Directory..."},
        {"MSG_CONFIGURER_ACCES_AD",
         "Souhaitez-vous modifier la configuration de l'outil relative à l'accès à l'ActiveDirectory ?"},
        {"MSG_ERREUR_ACCES_AD", "Impossible d'accéder à l'ActiveDirectory..."},
        {"MSG_ERREUR_ANALYSE_STRUCTURE_OU", "L'analyse demandée (restreinte à la structure O.U.) requiert "
                                            "que l'élément racine soit une O.U. et non un groupe..."},
        {"MSG_ERREUR_OU_INCONNUE", "L'O.U. '%v' est inconnue de l'ActiveDirectory..."},
        {"MSG_ERREUR_OU_GROUPE_INCONNU",
         "Aucun groupe ou O.U. n'a été trouvé sous la référence '%v' dans l'ActiveDirectory..."},
        {"MSG_ERREUR_GROUPE_INCONNU", "Le groupe '%v' est inconnu de l'ActiveDirectory..."},
        {"MSG_ERREUR_DEPOT_HORS_GROUPE",
         "Seul un groupe reçoit des membres : déposez le compte ou le groupe sur "
         "un groupe, pas sur une O.U. ni sur un compte."},
        {"MSG_APPARTENANCE_CIRCULAIRE", "Appartenance circulaire, coupée là : %v"},
        {"MSG_APPARTENANCES_TRONQUEES",
         "Les chaînes d'appartenance se comptent par dizaines de milliers : la liste "
         "s'arrête là."},
        {"MSG_ERREUR_DN_COMPTE",
         "'%v' est un compte, pas un groupe ni une O.U.§§Tapez le nom ou le DN d'un groupe "
         "ou d'une O.U."},
        {"MSG_ERREUR_ELEMENT_NON_TROUVE", "Aucun élément correspondant à ce critère n'a été trouvé..."},
        {"MSG_ERREUR_OCCURENCE_NON_TROUVEE", "Occurrence non trouvée..."},
        {"MSG_ERREUR_DROITS_AD",
         "Le compte avec lequel la session actuelle a été ouverte ne permet pas/plus d'interroger "
         "l'ActiveDirectory (mot de passe modifié, compte verrouillé ou supprimé)..."},
        {"MSG_ERREUR_DROITS_INSUFFISANTS", "Droits insuffisants pour mener à bien cette opération..."},
        {"MSG_ERREUR_OPERATION_REFUSEE", "Opération refusée par l'ActiveDirectory..."},
        {"MSG_ERREUR_DEPLACEMENT_GROUPE_HORS_OU",
         "Les déplacements de groupes ne sont autorisés qu'au sein de la même OU..."},
        {"MSG_ERREUR_DEPLACEMENT_DEJA_MEMBRE",
         "L'élément que vous souhaitez déplacer appartient déjà au groupe cible..."},
        {"MSG_ERREUR_DEPLACEMENT_AJOUT_RECURSIVITE",
         "Impossible de placer un groupe à l'intérieur de l'un de ses fils (référence circulaire)..."},
        {"MSG_ERREUR_RECURSIVITE",
         "Un problème de récursivité a été détecté pour le(s) groupe(s) suivant(s) dont la représentation "
         "est par conséquent tronquée :%vVous devriez essayer de corriger ce genre d'anomalie qui peut "
         "générer des problèmes avec certains outils."},
        {"MSG_ERREUR_PREMIER_ELEMENT", "Impossible de remonter plus haut dans l'arborescence des OU..."},
        {"MSG_ERREUR_AUCUN_MEMBRE", "Cet élément ne contient aucun membre à qui envoyer un message"},
        {"MSG_ERREUR_AJOUT_COMPTE_DEJA_MEMBRE", "Le compte '%v' appartient déjà au groupe '%v'..."},
        {"MSG_ERREUR_AJOUT_COMPTE_NON_TROUVE", "Le compte '%v' n'a pas été trouvé : opération abandonnée..."},
        {"MSG_ERREUR_AJOUT_GROUPE_NON_TROUVE", "Le groupe '%v' n'a pas été trouvé : opération abandonnée..."},
        {"MSG_ERREUR_AJOUT_GROUPE_RECURSIVITE",
         "Impossible de placer le groupe '%v' à l'intérieur de lui-même..."},
        {"MSG_ERREUR_AJOUT_GROUPE_CIRCULAIRE",
         "Impossible de placer le groupe '%v' dans le groupe '%v', qui en est déjà membre, directement ou "
         "non (référence circulaire)..."},
        {"MSG_ERREUR_AJOUT_PLUSIEURS_OBJETS",
         "'%v' désigne plusieurs objets : %v§§Saisissez le nom distinctif de celui qu'il faut ajouter ou "
         "choisissez-le dans la liste : opération abandonnée..."},
        {"MSG_ERREUR_DEPLACEMENT_RETRAIT_ECHOUE",
         "'%v' a été ajouté au groupe '%v', mais n'a pas pu être retiré du groupe '%v' : il appartient "
         "désormais aux deux.§§%v"},
        {"MSG_ERREUR_CONTROLE_RECURSIVITE",
         "Impossible de vérifier que l'ajout du groupe '%v' ne crée pas de référence circulaire : il n'a "
         "pas été ajouté.§§%v"},
        {"MSG_ERREUR_AJOUT_GROUPE_DEJA_MEMBRE", "Le groupe '%v' appartient déjà au groupe '%v'..."},
        {"MSG_ERREUR_CREATION_GROUPE_EXISTE_DEJA", "Un groupe portant ce nom existe déjà..."},
        {"MSG_ERREUR_CREATION_GROUPE_NOM_GROUPE", "Un groupe portant le nom '%v' existe déjà :§%v"},
        {"MSG_ERREUR_CREATION_GROUPE_NOM_UTILISATEUR",
         "'%v' est déjà le nom de compte d'un utilisateur :§%v§§Un groupe ne peut pas porter le nom de "
         "compte d'un autre objet."},
        {"MSG_ERREUR_CREATION_GROUPE_NOM_ORDINATEUR",
         "'%v' est déjà le nom de compte d'un ordinateur :§%v§§Un groupe ne peut pas porter le nom de "
         "compte d'un autre objet."},
        {"MSG_ERREUR_NOM_GROUPE_VIDE_INTERDIT", "Le nom d'un groupe ne peut être vide..."},
        {"MSG_ERREUR_CARACTERES_INTERDITS_NOM_GROUPE",
         "L'utilisation des caractères '/', '\\', '[', ']', ':', ';', '|', '=', ',', '+', '*', '?', '<', '>' "
         "et '\"' n'est pas autorisée dans le nom des groupes..."},
        {"MSG_ERREUR_SUPPRESSION_GROUPE_PREMIER_ELEMENT",
         "La suppression d'un groupe n'est pas permise lorsqu'il est le premier élément de l'arborescence... "
         "remontez d'un niveau (en ouvrant l'O.U. parent par exemple) pour pouvoir effectuer l'opération."},
        {"MSG_ERREUR_DOMAINE", "Le champ DOMAINE n'a pas été renseigné..."},
        {"MSG_ERREUR_NOMBRE_ELEMENTS_MEMORISES_MAX",
         "Le champ MÉMORISER LES N DERNIERS O.U./GROUPES RECHERCHÉS n'a pas été renseigné ou ne contient pas "
         "une valeur numérique entière..."},
        {"MSG_CHANGEMENT_LANGUE",
         "Le changement de langue de l'interface sera pris en compte après redémarrage du logiciel..."},
        {"MSG_ERREUR_INITIALISATION",
         "Une erreur (%v) est survenue lors de l'initialisation de l'application :§§%v§§Veuillez contacter "
         "l'auteur du logiciel si le problème persiste..."},
        {"MSG_ERREUR", "Une erreur (%v) est survenue durant le traitement :§§%v§§Veuillez contacter l'auteur "
                       "du logiciel si le problème persiste..."},
        {"TXT_ENVOI_MESSAGE", "Envoi du message à '%v' : %v"},
        {"TXT_EN_COURS", "en cours"},
        {"TXT_SUCCES", "OK"},
        {"TXT_ECHEC", "échec"},
        {"TXT_ENVOI_MESSAGE_OPERATION_ANNULEE", "Opération annulée par l'utilisateur..."},
        {"TXT_ENVOI_MESSAGE_OPERATION_TERMINEE", "Opération terminée"},
        {"TXT_ENVOI_MESSAGE_OPERATION_TERMINEE_BILAN",
         "%v message(s) envoyé(s) avec succès sur un total de %v"},
        {"TXT_OU", "O.U."},
        {"TXT_GRP_SEC_LOC", "Groupe de sécurité - Local"},
        {"TXT_GRP_SEC_GLO", "Groupe de sécurité - Global"},
        {"TXT_GRP_SEC_UNI", "Groupe de sécurité - Universel"},
        {"TXT_GRP_DIS_LOC", "Liste de distribution - Local"},
        {"TXT_GRP_DIS_GLO", "Liste de distribution - Global"},
        {"TXT_GRP_DIS_UNI", "Liste de distribution - Universel"},
        {"COL_NOM", "Nom"},
        {"COL_DESCRIPTION", "Description"},
        {"COL_TYPE", "Type"},
        {"COL_DISTINGUISHEDNAME", "DistinguishedName"},
        {"TXT_EXPORTER_VERS", "Exporter vers"},
        {"TXT_FICHIERS_TXT", "Fichiers texte"},
        {"TXT_FICHIERS_CSV", "Fichiers CSV"},
        {"TXT_FICHIERS_JSON", "Fichiers JSON"},
        {"TXT_TOUS_FICHIERS", "Tous les fichiers"},
        {"MSG_ERREUR_CLIPBOARD", "Une erreur est survenue lors de la copie vers le presse-papiers : §§%v "
                                 "§§Peut-être la quantité d'informations est-elle trop importante ?"},
        {"MSG_ERREUR_EXPORT", "Une erreur (%v) est survenue lors de l'export :§§%v"},
        {"TXT_TOOLTIP_AJOUT_GROUPES",
         "Noms de groupe ou noms distinctifs,§séparés par \";\" ou un par ligne ; une liste copiée se colle "
         "ici."},
        {"TXT_TOOLTIP_AJOUT_COMPTES",
         "Noms de compte, adresses e-mail ou noms distinctifs,§séparés par \";\" ou un par ligne ; une liste "
         "copiée se colle ici.§CTRL+MAJ+V ajoute le \"$\" des noms d'ordinateurs collés."},
        // Texts of the dialogs and list views.
        {"TXT_ANNULER", "A&nnuler"},
        {"TXT_FERMER", "&Fermer"},
        {"COL_TELEPHONE", "Téléphone"},
        {"COL_COMPTE", "Compte"},
        {"COL_NOM_RDN", "Nom RDN"},
        {"COL_ATTENTION", "Nom antérieur Win2000 (si différent de nom RDN)"},
        // Type names of groups with no scope bit, so that their type column is never blank.
        {"TXT_GRP_SEC", "Groupe de sécurité - Sans étendue"},
        {"TXT_GRP_DIS", "Liste de distribution - Sans étendue"},
        // Choice of the directory (address or embedded directory file).
        {"MSG_ERREUR_ADRESSE_ANNUAIRE",
         "L'adresse d'annuaire '%v' n'est pas prise en charge : utilisez ldap://, ldaps:// ou ldapi://..."},
        {"MSG_ERREUR_FICHIER_ANNUAIRE_ABSENT", "Le fichier d'annuaire '%v' n'existe pas..."},
        {"MSG_ERREUR_FICHIER_ANNUAIRE", "Le fichier d'annuaire '%v' ne peut pas être chargé :§§%v"},
        {"TXT_SERVEUR_DECOUVERT", "du domaine"},
        {"MSG_ERREUR_CONNEXION_CERTIFICAT",
         "Le certificat du serveur d'annuaire %v est refusé : il n'est pas signé par une autorité de "
         "confiance "
         "de ce poste, ou il porte un autre nom.§§Faites confiance à l'autorité qui l'a signé (TLS_CACERT "
         "dans "
         "ldap.conf, ou la variable LDAPTLS_CACERT), ou désignez le serveur par le nom que porte son "
         "certificat."},
        {"MSG_ERREUR_CONNEXION_IDENTIFIANTS", "L'annuaire refuse le compte '%v' ou son mot de "
                                              "passe.§§Vérifiez le compte et le mot de passe dans la "
                                              "configuration (menu Options)."},
        {"MSG_ERREUR_CONNEXION_COMPTE_DESACTIVE",
         "Le compte '%v' est désactivé.§§Demandez à un administrateur de l'activer, ou configurez un autre "
         "compte."},
        {"MSG_ERREUR_CONNEXION_COMPTE_VERROUILLE",
         "Le compte '%v' est verrouillé après trop de mots de passe erronés.§§Attendez son déverrouillage ou "
         "demandez-le à un administrateur, puis vérifiez le mot de passe configuré."},
        {"MSG_ERREUR_CONNEXION_COMPTE_EXPIRE",
         "Le compte '%v' a expiré.§§Demandez à un administrateur de prolonger sa validité, ou configurez un "
         "autre compte."},
        {"MSG_ERREUR_CONNEXION_MOT_DE_PASSE_EXPIRE",
         "Le mot de passe du compte '%v' a expiré.§§Changez-le (par exemple avec kpasswd), puis mettez-le à "
         "jour dans la configuration."},
        {"MSG_ERREUR_CONNEXION_MOT_DE_PASSE_A_CHANGER",
         "Le mot de passe du compte '%v' doit être changé avant sa première utilisation.§§Changez-le (par "
         "exemple avec kpasswd), puis mettez-le à jour dans la configuration."},
        {"MSG_ERREUR_CONNEXION_INJOIGNABLE",
         "Le serveur d'annuaire %v ne répond pas.§§Vérifiez son nom et le réseau, ou désignez un autre "
         "serveur dans la configuration."},
        {"MSG_ERREUR_CONNEXION_CHIFFREMENT_EXIGE", "Le serveur d'annuaire %v exige une connexion chiffrée, "
                                                   "mais il refuse StartTLS.§§Désignez-le par une "
                                                   "adresse ldaps://, ou activez TLS sur le serveur."},
        {"MSG_ERREUR_CONNEXION_SANS_TLS",
         "Le serveur d'annuaire %v ne propose pas de connexion chiffrée (TLS) : le mot de passe ne lui a "
         "pas été envoyé.§§Désignez-le par une adresse ldaps://, activez TLS sur le serveur, ou choisissez "
         "l'accès avec le compte de la session en cours (Kerberos)."},
        {"TXT_MOT_DE_PASSE_TROUSSEAU", "Mot de passe gardé dans le trousseau du bureau."},
        {"TXT_MOT_DE_PASSE_FICHIER", "Sans trousseau : mot de passe brouillé dans le fichier."},
        {"MSG_ERREUR_ANNUAIRE_MUET",
         "Le serveur d'annuaire %v a cessé de répondre pendant la lecture de « %v » : l'arborescence "
         "affichée est incomplète.§§Vérifiez le réseau et l'état du serveur, puis relancez la recherche."},
        {"MSG_ERREUR_ANNUAIRE_PERDU",
         "La connexion au serveur d'annuaire %v a été perdue pendant la lecture de « %v » : l'arborescence "
         "affichée est incomplète.§§Vérifiez que le serveur fonctionne, puis relancez la recherche."},
        {"MSG_ERREUR_OPERATION_INCERTAINE",
         "Le serveur d'annuaire a cessé de répondre pendant la modification, et l'annuaire n'a pas pu "
         "être relu : il l'a peut-être faite malgré tout.§§Quand le serveur répondra, relancez la "
         "recherche pour voir ce que l'annuaire contient.§§(%v) %v"},
        {"MSG_ERREUR_OPERATION_NON_FAITE",
         "La modification n'a pas été faite : la réponse du serveur d'annuaire n'est pas venue, et "
         "l'annuaire relu ensuite ne la contient pas.§§Réessayez quand le serveur répondra.§§(%v) %v"},
        {"MSG_ERREUR_CONNEXION_KERBEROS",
         "Aucun ticket Kerberos ne permet de vous identifier auprès de l'annuaire.§§Obtenez-en un avec "
         "« kinit utilisateur@DOMAINE », ou configurez un compte et un mot de passe."},
        // Messages to members, sent by e-mail: the detail of a report line, the reasons of a
        // failure, the subject and the checks of the configuration window.
        {"TXT_RESULTAT_DETAIL", "%v (%v)"},
        {"TXT_MOTIF_AUCUNE_ADRESSE", "aucune adresse électronique"},
        {"TXT_MOTIF_AUCUN_TRANSPORT", "aucun transport de courrier configuré"},
        {"TXT_MOTIF_ADRESSE_INVALIDE", "adresse électronique invalide"},
        {"TXT_MOTIF_EXPEDITEUR_INVALIDE", "adresse de l'expéditeur invalide"},
        {"TXT_MOTIF_SAUT_DE_LIGNE", "saut de ligne dans un nom"},
        {"TXT_MOTIF_DELAI_DEPASSE", "pas de réponse de la commande d'envoi en %v s"},
        {"TXT_MOTIF_CODE_RETOUR", "la commande d'envoi a échoué (code %v)"},
        {"TXT_MOTIF_LANCEMENT_IMPOSSIBLE", "la commande d'envoi '%v' ne peut pas être lancée"},
        {"TXT_MOTIF_ERREUR_ANNUAIRE", "erreur de l'annuaire (%v) : %v"},
        {"TXT_SUJET_MESSAGE", "Message de %v (Arbrix)"},
        {"TXT_ORDINATEURS_LAISSES",
         "%v ordinateur(s) laissé(s) de côté : un compte d'ordinateur n'a pas de boîte aux lettres."},
        {"MSG_ERREUR_MESSAGERIE_COMMANDE",
         "La commande d'envoi des messages ne peut pas être lue : un guillemet n'est pas refermé..."},
        {"MSG_ERREUR_MESSAGERIE_EXPEDITEUR",
         "L'adresse de l'expéditeur n'est pas une adresse électronique valide (par exemple "
         "admin@example.org)..."},
        // A group created beside a group whose membership the directory then refused.
        {"MSG_ERREUR_GROUPE_CREE_NON_MEMBRE",
         "Le groupe '%v' a été créé dans son O.U., mais n'a pas pu devenir membre du groupe '%v' :§§%v"},
        // A rename whose second step failed and whose first could not be undone.
        // A rename whose second step may or may not have been made.
        {"MSG_ERREUR_GROUPE_RENOMME_COMPTE_INCERTAIN",
         "Le groupe a été renommé '%v' dans son O.U. ; son nom de compte (sAMAccountName) '%v' a peut-être "
         "été changé lui aussi :§§%v"},
        {"MSG_ERREUR_GROUPE_RENOMME_SANS_COMPTE",
         "Le groupe a été renommé '%v' dans son O.U., mais son nom de compte (sAMAccountName) est resté "
         "'%v' et l'ancien nom n'a pas pu être rétabli :§§%v§§Vérifiez la connexion à l'annuaire, puis "
         "renommez le groupe à nouveau."},
        // What to do when an export file cannot be written.
        {"TXT_EXPORT_CONSEIL_FICHIER", "Choisissez un dossier où vous avez le droit d'écrire et vérifiez "
                                       "l'espace libre du disque, puis recommencez."},
        // A settings file that could not be written: the file, then the system's reason.
        {"MSG_ERREUR_ECRITURE_PARAMETRES",
         "Les paramètres n'ont pas pu être enregistrés dans le fichier %v :§§%v§§Le fichier est "
         "resté tel qu'il était. Vérifiez le droit d'écrire dans ce dossier et l'espace libre du disque."},
        // What the window shows: the status bar, the meaning of the icons, the directory that the
        // environment imposes, and the restart that new directory settings need.
        {"TXT_BARRE_ANNUAIRE", "Annuaire : %v"},
        {"TXT_BARRE_IDENTITE", "Connecté en tant que %v"},
        {"TXT_BARRE_IDENTITE_KERBEROS", "Connecté par Kerberos en tant que %v"},
        {"TXT_BARRE_NOEUDS", "%v nœud(s)"},
        {"TXT_LEGENDE_ICONES", "Légende des icônes"},
        {"TXT_LEGENDE_ETAT", "%v, %v"},
        {"TXT_GRP_SEC_REC", "Groupe de sécurité membre de lui-même (représentation tronquée)"},
        {"TXT_GRP_DIS_REC", "Liste de distribution membre d'elle-même (représentation tronquée)"},
        {"TXT_USER", "Compte utilisateur"},
        {"TXT_COMP", "Compte ordinateur"},
        {"TXT_SVCE", "Compte de service (MSA ou gMSA)"},
        {"TXT_CONTACT", "Contact"},
        {"TXT_FSP", "Principal de sécurité étranger (identité connue ou d'un domaine approuvé)"},
        {"TXT_AUTRE", "Autre membre"},
        // The well-known identities a group may hold, by their SIDs.
        {"TXT_SID_S_1_1_0", "Tout le monde"},
        {"TXT_SID_S_1_5_1", "Accès à distance"},
        {"TXT_SID_S_1_5_2", "Réseau"},
        {"TXT_SID_S_1_5_3", "Tâche"},
        {"TXT_SID_S_1_5_4", "Interactif"},
        {"TXT_SID_S_1_5_6", "Service"},
        {"TXT_SID_S_1_5_7", "Ouverture de session anonyme"},
        {"TXT_SID_S_1_5_8", "Proxy"},
        {"TXT_SID_S_1_5_9", "Contrôleurs de domaine d'entreprise"},
        {"TXT_SID_S_1_5_10", "Principal lui-même"},
        {"TXT_SID_S_1_5_11", "Utilisateurs authentifiés"},
        {"TXT_SID_S_1_5_12", "Code restreint"},
        {"TXT_SID_S_1_5_13", "Utilisateurs Terminal Server"},
        {"TXT_SID_S_1_5_14", "Ouverture de session interactive à distance"},
        {"TXT_SID_S_1_5_15", "Cette organisation"},
        {"TXT_SID_S_1_5_17", "Utilisateur du serveur web (IUSR)"},
        {"TXT_SID_S_1_5_18", "Système local"},
        {"TXT_SID_S_1_5_19", "Service local"},
        {"TXT_SID_S_1_5_20", "Service réseau"},
        {"TXT_SID_S_1_5_1000", "Autre organisation"},
        {"TXT_SID_S_1_5_64_10", "Authentification NTLM"},
        {"TXT_SID_S_1_5_64_14", "Authentification SChannel"},
        {"TXT_SID_S_1_5_64_21", "Authentification Digest"},
        {"TXT_ETAT_INA", "désactivé"},
        {"TXT_ETAT_VER", "verrouillé"},
        {"TXT_ETAT_EXP", "expiré"},
        {"TXT_ANNUAIRE_ENVIRONNEMENT",
         "La variable d'environnement ARBRIX_DIRECTORY désigne l'annuaire (%v) : elle l'emporte sur le "
         "serveur saisi ici."},
        // Names and descriptions that screen readers give the controls without a caption.
        {"ACC_CHERCHER", "Analyse l'O.U. ou le groupe saisi et en montre l'arborescence"},
        {"ACC_CHERCHER_PLUS", "Autres analyses"},
        {"ACC_CHERCHER_PLUS_DESCRIPTION",
         "Ouvre la liste des analyses restreintes de l'O.U. ou du groupe saisi"},
        {"ACC_ARBRE", "Arborescence de l'annuaire"},
        {"ACC_ARBRE_DESCRIPTION",
         "O.U., groupes et comptes membres ; le menu contextuel propose les opérations"},
        {"ACC_COMPLETION", "Recherches mémorisées correspondantes"},
        {"ACC_RESULTATS_COMPTES", "Comptes trouvés"},
        {"ACC_RESULTATS_GROUPES", "Groupes trouvés"},
        {"ACC_SELECTION", "Comptes ou groupes choisis"},
        {"ACC_RAPPORT", "Compte rendu de l'envoi"},
        {"ACC_PROGRESSION", "Progression de l'envoi"},
        {"ACC_APPARTENANCES", "Groupes dont l'objet est membre"},
        {"ACC_OCCURRENCES", "Occurrences trouvées"},
        {"ACC_LEGENDE", "Icônes et leur signification"},
        {"ACC_MEMOS", "Recherches mémorisées"},
        {"MSG_REDEMARRER_MAINTENANT",
         "Les nouveaux paramètres d'accès à l'ActiveDirectory ne prendront effet qu'au prochain démarrage "
         "d'Arbrix.§§Redémarrer maintenant ? (Non : ils seront utilisés au prochain démarrage.)"},
    };
    return textes;
}

} // namespace arbrix
