#include "cli/ArgumentsCli.h"

#include "cli/TextesCli.h"
#include "settings/OptionsExport.h"

namespace arbrix {

const QList<CommandeCli>& CommandesCli() {
    static const QList<CommandeCli> commandes = {
        {CommandeArbre, 1, -1, QStringLiteral("tree NAME-OR-DN")},
        {QStringLiteral("create-group"), 2, 2, QStringLiteral("create-group PARENT NAME")},
        {QStringLiteral("rename-group"), 2, 2, QStringLiteral("rename-group GROUP NEW-NAME")},
        {QStringLiteral("remove-member"), 2, -1, QStringLiteral("remove-member GROUP MEMBER...")},
        {QStringLiteral("add-member"), 2, -1, QStringLiteral("add-member GROUP MEMBER...")},
        {QStringLiteral("move-member"), 3, -1, QStringLiteral("move-member FROM-GROUP TO-GROUP MEMBER...")},
        {QStringLiteral("delete-group"), 1, 1, QStringLiteral("delete-group GROUP")},
        {QStringLiteral("send-message"), 1, -1, QStringLiteral("send-message NAME-OR-DN")},
        {QStringLiteral("properties"), 1, 1, QStringLiteral("properties DN")},
        {QStringLiteral("member-of"), 1, -1, QStringLiteral("member-of [--effective] NAME-OR-DN")},
    };
    return commandes;
}

namespace {

const CommandeCli* TrouveCommande(const QString& nom) {
    for (const CommandeCli& c : CommandesCli())
        if (c.nom == nom)
            return &c;
    return nullptr;
}

// Options that only one command takes.
QString CommandeDeLOption(const QString& nom) {
    if (nom == u"--security" || nom == u"--distribution" || nom == u"--scope")
        return QStringLiteral("create-group");
    if (nom == u"--yes")
        return QStringLiteral("delete-group");
    if (nom == u"--effective")
        return QStringLiteral("member-of");
    if (nom == u"--message-file" || nom == u"--subject")
        return QStringLiteral("send-message");
    if (nom == u"--output" || nom == u"--format" || nom == u"--line-ending")
        return CommandeArbre;
    return {};
}

bool EstDrapeau(const QString& nom) {
    return nom == u"--security" || nom == u"--distribution" || nom == u"--yes" || nom == u"--effective";
}

struct Option {
    QString nom; // "--mode"
    QString valeur;
    bool valeurJointe = false; // given as "--mode=2"
};

// Splits "--name=value"; a plain "--name" has no joined value.
Option DecoupeOption(const QString& argument) {
    const qsizetype egal = argument.indexOf(u'=');
    if (egal < 0)
        return {argument, {}, false};
    return {argument.left(egal), argument.mid(egal + 1), true};
}

bool EstOptionAvecValeur(const QString& nom) {
    static const QStringList noms = {
        QStringLiteral("--directory"),     QStringLiteral("--type"),    QStringLiteral("--mode"),
        QStringLiteral("--settings"),      QStringLiteral("--set"),     QStringLiteral("--user"),
        QStringLiteral("--password-file"), QStringLiteral("--scope"),   QStringLiteral("--message-file"),
        QStringLiteral("--output"),        QStringLiteral("--subject"), QStringLiteral("--format"),
        QStringLiteral("--line-ending")};
    return noms.contains(nom);
}

class LecteurArguments {
public:
    explicit LecteurArguments(const QStringList& arguments)
        : m_arguments(arguments) {}

    AnalyseArgumentsCli Lit() {
        QStringList mots;
        bool finOptions = false;
        for (m_position = 0; m_position < m_arguments.size() && !m_resultat.erreur; ++m_position) {
            const QString& argument = m_arguments[m_position];
            if (finOptions || !argument.startsWith(u'-') || argument == u"-") {
                mots << argument;
            } else if (argument == u"--") {
                // A first word after "--" is never a command: "-- tree" analyses a group "tree".
                m_commandeLue = m_commandeLue || mots.isEmpty();
                finOptions = true;
            } else
                LitOption(argument);
        }
        ArgumentsCli& a = m_resultat.arguments;
        if (!mots.isEmpty() && !m_commandeLue && TrouveCommande(mots.first()))
            a.commande = mots.takeFirst();
        a.mots = mots;
        a.nomOuDn = mots.join(u' ').trimmed();
        if (!m_resultat.erreur && !a.aide && !a.version)
            VerifieCommande();
        return m_resultat;
    }

private:
    void LitOption(const QString& argument) {
        if (argument == u"--help" || argument == u"-h") {
            m_resultat.arguments.aide = true;
            return;
        }
        if (argument == u"--verbose") {
            m_resultat.arguments.bavard = true;
            return;
        }
        if (argument == u"--version") {
            m_resultat.arguments.version = true;
            return;
        }
        Option option = DecoupeOption(argument);
        if (EstDrapeau(argument)) {
            AppliqueDrapeau(argument);
            return;
        }
        if (!EstOptionAvecValeur(option.nom)) {
            Erreur(CleTexteCli::OptionInconnue, option.nom);
            return;
        }
        if (!option.valeurJointe) {
            if (m_position + 1 >= m_arguments.size()) {
                Erreur(CleTexteCli::ValeurManquante, option.nom);
                return;
            }
            option.valeur = m_arguments[++m_position];
        }
        AppliqueOption(option);
    }

    void AppliqueOption(const Option& o) {
        ArgumentsCli& a = m_resultat.arguments;
        if (o.nom == u"--directory")
            a.source = o.valeur;
        else if (o.nom == u"--type")
            LitType(o.valeur);
        else if (o.nom == u"--mode")
            LitMode(o.valeur);
        else if (o.nom == u"--settings")
            a.fichierReglages = o.valeur;
        else if (o.nom == u"--set")
            LitReglage(o.valeur);
        else if (o.nom == u"--user")
            a.utilisateur = o.valeur;
        else if (o.nom == u"--password-file")
            a.fichierMotDePasse = o.valeur;
        else if (o.nom == u"--scope")
            LitEtendue(o.valeur);
        else if (o.nom == u"--message-file") {
            m_optionsDeCommande << o.nom;
            a.fichierMessage = o.valeur;
        } else if (o.nom == u"--subject") {
            m_optionsDeCommande << o.nom;
            a.sujet = o.valeur;
        } else if (o.nom == u"--output") {
            m_optionsDeCommande << o.nom;
            a.fichierSortie = o.valeur;
        } else if (o.nom == u"--format") {
            m_optionsDeCommande << o.nom;
            LitChoix(o.valeur, {QStringLiteral("text"), QStringLiteral("csv"), QStringLiteral("json")},
                     CleTexteCli::FormatInvalide, a.typeExport);
        } else if (o.nom == u"--line-ending") {
            m_optionsDeCommande << o.nom;
            qint16 fin = FinLigneExport::CrLf;
            if (LitChoix(o.valeur, {QStringLiteral("crlf"), QStringLiteral("lf")},
                         CleTexteCli::FinLigneInvalide, fin))
                a.finLigne = fin;
        }
    }

    // The value's index among the words, without regard to case; false after a fault.
    bool LitChoix(const QString& valeur, const QStringList& mots, const QString& cleErreur, qint16& choix) {
        const qsizetype i = mots.indexOf(valeur.trimmed().toLower());
        if (i < 0) {
            Erreur(cleErreur, valeur);
            return false;
        }
        choix = qint16(i);
        return true;
    }

    void AppliqueDrapeau(const QString& nom) {
        ArgumentsCli& a = m_resultat.arguments;
        m_optionsDeCommande << nom;
        if (nom == u"--yes")
            a.confirme = true;
        else if (nom == u"--effective")
            a.effectives = true;
        else
            a.typeGroupe = nom == u"--security" ? 0 : 1;
    }

    void LitEtendue(const QString& valeur) {
        m_optionsDeCommande << QStringLiteral("--scope");
        const QStringList etendues = {QStringLiteral("local"), QStringLiteral("global"),
                                      QStringLiteral("universal")};
        const qsizetype i = etendues.indexOf(valeur.trimmed().toLower());
        if (i < 0)
            Erreur(CleTexteCli::EtendueInvalide, valeur);
        else
            m_resultat.arguments.etendueGroupe = int(i);
    }

    // The words a command takes, and the options that belong to another command.
    void VerifieCommande() {
        const ArgumentsCli& a = m_resultat.arguments;
        for (const QString& option : std::as_const(m_optionsDeCommande)) {
            if (CommandeDeLOption(option) != a.commande) {
                Erreur(CleTexteCli::OptionHorsCommande, option + u' ' + a.commande);
                return;
            }
        }
        const CommandeCli* commande = TrouveCommande(a.commande);
        if (a.commande == CommandeArbre) {
            // Text and JSON end their lines as they always do: only CSV has a choice.
            if (a.finLigne && a.typeExport != TypeExport::Csv)
                Erreur(CleTexteCli::FinLigneHorsCsv, {});
            else if (a.nomOuDn.isEmpty())
                Erreur(CleTexteCli::NomManquant, {});
            return;
        }
        const int n = int(a.mots.size());
        if (n < commande->motsMin || (commande->motsMax >= 0 && n > commande->motsMax))
            Erreur(CleTexteCli::UsageCommande, QStringLiteral("arbrix-cli ") + commande->usage);
    }

    void LitType(const QString& valeur) {
        if (valeur.compare(u"ou", Qt::CaseInsensitive) == 0)
            m_resultat.arguments.type = 0;
        else if (valeur.compare(u"group", Qt::CaseInsensitive) == 0)
            m_resultat.arguments.type = 1;
        else
            Erreur(CleTexteCli::TypeInvalide, valeur);
    }

    void LitMode(const QString& valeur) {
        bool ok = false;
        const int mode = valeur.trimmed().toInt(&ok);
        if (ok && mode >= 1 && mode <= 6)
            m_resultat.arguments.mode = mode;
        else
            Erreur(CleTexteCli::ModeInvalide, valeur);
    }

    void LitReglage(const QString& valeur) {
        const qsizetype egal = valeur.indexOf(u'=');
        const QString cle = egal < 0 ? QString() : valeur.left(egal).trimmed();
        if (cle.isEmpty()) {
            Erreur(CleTexteCli::ReglageInvalide, valeur);
            return;
        }
        m_resultat.arguments.reglages.append({cle, valeur.mid(egal + 1)});
    }

    void Erreur(const QString& cle, const QString& argument) {
        if (!m_resultat.erreur)
            m_resultat.erreur = ErreurArgumentsCli{cle, argument};
    }

    const QStringList& m_arguments;
    qsizetype m_position = 0;
    bool m_commandeLue = false;
    QStringList m_optionsDeCommande;
    AnalyseArgumentsCli m_resultat;
};

} // namespace

AnalyseArgumentsCli LitArgumentsCli(const QStringList& arguments) {
    return LecteurArguments(arguments).Lit();
}

} // namespace arbrix
