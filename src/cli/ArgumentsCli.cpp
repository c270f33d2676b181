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
Option DécoupeOption(const QString& argument) {
    const qsizetype égal = argument.indexOf(u'=');
    if (égal < 0)
        return {argument, {}, false};
    return {argument.left(égal), argument.mid(égal + 1), true};
}

bool EstOptionAvecValeur(const QString& nom) {
    static const QStringList noms = {QStringLiteral("--directory"),    QStringLiteral("--type"),
                                     QStringLiteral("--mode"),         QStringLiteral("--settings"),
                                     QStringLiteral("--set"),          QStringLiteral("--user"),
                                     QStringLiteral("--password-file")};
    return noms.contains(nom);
}

class LecteurArguments {
public:
    explicit LecteurArguments(const QStringList& arguments)
        : m_arguments(arguments) {}

    AnalyseArgumentsCli Lit() {
        QStringList mots;
        bool finOptions = false;
        for (m_position = 0; m_position < m_arguments.size() && !m_résultat.erreur; ++m_position) {
            const QString& argument = m_arguments[m_position];
            if (finOptions || !argument.startsWith(u'-') || argument == u"-")
                mots << argument;
            else if (argument == u"--")
                finOptions = true;
            else
                LitOption(argument);
        }
        m_résultat.arguments.nomOuDn = mots.join(u' ').trimmed();
        if (!m_résultat.erreur && !m_résultat.arguments.aide && m_résultat.arguments.nomOuDn.isEmpty())
            Erreur(CléTexteCli::NomManquant, {});
        return m_résultat;
    }

private:
    void LitOption(const QString& argument) {
        if (argument == u"--help" || argument == u"-h") {
            m_résultat.arguments.aide = true;
            return;
        }
        Option option = DécoupeOption(argument);
        if (!EstOptionAvecValeur(option.nom)) {
            Erreur(CléTexteCli::OptionInconnue, option.nom);
            return;
        }
        if (!option.valeurJointe) {
            if (m_position + 1 >= m_arguments.size()) {
                Erreur(CléTexteCli::ValeurManquante, option.nom);
                return;
            }
            option.valeur = m_arguments[++m_position];
        }
        AppliqueOption(option);
    }

    void AppliqueOption(const Option& o) {
        ArgumentsCli& a = m_résultat.arguments;
        if (o.nom == u"--directory")
            a.source = o.valeur;
        else if (o.nom == u"--type")
            LitType(o.valeur);
        else if (o.nom == u"--mode")
            LitMode(o.valeur);
        else if (o.nom == u"--settings")
            a.fichierRéglages = o.valeur;
        else if (o.nom == u"--set")
            LitRéglage(o.valeur);
        else if (o.nom == u"--user")
            a.utilisateur = o.valeur;
        else if (o.nom == u"--password-file")
            a.fichierMotDePasse = o.valeur;
    }

    void LitType(const QString& valeur) {
        if (valeur.compare(u"ou", Qt::CaseInsensitive) == 0)
            m_résultat.arguments.type = 0;
        else if (valeur.compare(u"group", Qt::CaseInsensitive) == 0)
            m_résultat.arguments.type = 1;
        else
            Erreur(CléTexteCli::TypeInvalide, valeur);
    }

    void LitMode(const QString& valeur) {
        bool ok = false;
        const int mode = valeur.trimmed().toInt(&ok);
        if (ok && mode >= 1 && mode <= 6)
            m_résultat.arguments.mode = mode;
        else
            Erreur(CléTexteCli::ModeInvalide, valeur);
    }

    void LitRéglage(const QString& valeur) {
        const qsizetype égal = valeur.indexOf(u'=');
        const QString clé = égal < 0 ? QString() : valeur.left(égal).trimmed();
        if (clé.isEmpty()) {
            Erreur(CléTexteCli::RéglageInvalide, valeur);
            return;
        }
        m_résultat.arguments.réglages.append({clé, valeur.mid(égal + 1)});
    }

    void Erreur(const QString& clé, const QString& argument) {
        if (!m_résultat.erreur)
            m_résultat.erreur = ErreurArgumentsCli{clé, argument};
    }

    const QStringList& m_arguments;
    qsizetype m_position = 0;
    AnalyseArgumentsCli m_résultat;
};

} // namespace

AnalyseArgumentsCli LitArgumentsCli(const QStringList& arguments) {
    return LecteurArguments(arguments).Lit();
}

} // namespace arbrix
