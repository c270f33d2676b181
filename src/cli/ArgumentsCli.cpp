#include "cli/ArgumentsCli.h"

#include "cli/TextesCli.h"

namespace arbrix {

namespace {

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
    static const QStringList noms = {QStringLiteral("--directory"),     QStringLiteral("--type"),
                                     QStringLiteral("--mode"),          QStringLiteral("--settings"),
                                     QStringLiteral("--set"),           QStringLiteral("--user"),
                                     QStringLiteral("--password-file"), QStringLiteral("--output")};
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
            if (finOptions || !argument.startsWith(u'-') || argument == u"-")
                mots << argument;
            else if (argument == u"--")
                finOptions = true;
            else
                LitOption(argument);
        }
        m_resultat.arguments.nomOuDn = mots.join(u' ').trimmed();
        if (!m_resultat.erreur && !m_resultat.arguments.aide && m_resultat.arguments.nomOuDn.isEmpty())
            Erreur(CleTexteCli::NomManquant, {});
        return m_resultat;
    }

private:
    void LitOption(const QString& argument) {
        if (argument == u"--help" || argument == u"-h") {
            m_resultat.arguments.aide = true;
            return;
        }
        Option option = DecoupeOption(argument);
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
        else if (o.nom == u"--output")
            a.fichierSortie = o.valeur;
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
    AnalyseArgumentsCli m_resultat;
};

} // namespace

AnalyseArgumentsCli LitArgumentsCli(const QStringList& arguments) {
    return LecteurArguments(arguments).Lit();
}

} // namespace arbrix
