#include "export/ExportStructure.h"

#include "export/ParcoursExport.h"
#include "tree/Arbre.h"

#include <initializer_list>

namespace arbrix {

namespace {

const QString kSeparateurChemin = QStringLiteral(" > ");

// Whether the export shows the child at all: containers always, leaves of the kinds kept.
bool Exporte(const Noeud& enfant, const OptionsExport& options) {
    const QChar lettre = enfant.LettreType();
    return EstConteneur(lettre) || MembreSelectionne(lettre, options);
}

class EcritureCsv {
public:
    EcritureCsv(const OptionsExport& options, int lignesMax)
        : m_options(options)
        , m_fin(options.FinLigne == FinLigneExport::Lf ? QStringLiteral("\n") : QStringLiteral("\r\n"))
        , m_lignesMax(lignesMax) {}

    QString Ecrit(const Noeud& racine) {
        m_texte = QLatin1String(EnTeteCsv) + m_fin;
        m_lignes = 1;
        Parcourt(racine, NomDuNoeud(racine));
        return m_texte;
    }

private:
    bool Plein() const { return m_lignesMax > 0 && m_lignes >= m_lignesMax; }

    void Parcourt(const Noeud& conteneur, const QString& chemin) {
        if (conteneur.ChildCount() == 0)
            return;
        const QString nomConteneur = NomDuNoeud(conteneur);
        const QString dnConteneur = conteneur.DN();
        for (const Noeud* enfant = conteneur.FirstChild(); enfant && !Plein();
             enfant = enfant->NextSibling()) {
            const QChar lettre = enfant->LettreType();
            // An O.U. is where members are, not a member.
            if (lettre != u'O' && Exporte(*enfant, m_options))
                AjouteLigne({NomDuNoeud(*enfant), enfant->DN(), GenreDuNoeud(*enfant), EtatDuNoeud(*enfant),
                             nomConteneur, dnConteneur, chemin});
            if (enfant->ChildCount() > 0 && DescendDans(*enfant, m_options))
                Parcourt(*enfant, chemin + kSeparateurChemin + NomDuNoeud(*enfant));
        }
    }

    void AjouteLigne(std::initializer_list<QString> champs) {
        bool premier = true;
        for (const QString& champ : champs) {
            if (!premier)
                m_texte += u',';
            m_texte += ChampCsv(champ);
            premier = false;
        }
        m_texte += m_fin;
        ++m_lignes;
    }

    const OptionsExport& m_options;
    const QString m_fin;
    const int m_lignesMax;
    QString m_texte;
    int m_lignes = 0;
};

// Written line by line rather than through QJsonObject, which orders keys alphabetically and
// would put every node's children before its name; the tests read it back with QJsonDocument.
class EcritureJson {
public:
    EcritureJson(const OptionsExport& options, int lignesMax)
        : m_options(options)
        , m_lignesMax(lignesMax) {}

    QString Ecrit(const Noeud& racine) {
        Objet(racine, 0, true);
        if (m_lignesMax > 0 && m_lignes > m_lignesMax) {
            qsizetype fin = -1;
            for (int i = 0; i < m_lignesMax; ++i)
                fin = m_texte.indexOf(u'\n', fin + 1);
            m_texte.truncate(fin + 1);
        }
        return m_texte;
    }

private:
    // The preview stops the walk once it has its lines, and one more: a line is final only when
    // the next one is written, which may add the comma of a following sibling.
    bool Plein() const { return m_lignesMax > 0 && m_lignes > m_lignesMax; }

    void Ligne(int niveau, QStringView texte) {
        m_texte.append(QString(niveau * 4, u' ')).append(texte).append(u'\n');
        ++m_lignes;
    }

    // The comma that separates a sibling from the one before it, at the end of that one's last line.
    void VirguleDerniereLigne() { m_texte.insert(m_texte.size() - 1, u','); }

    void Membre(int niveau, const char* cle, const QString& valeur, bool dernier = false) {
        m_texte.append(QString(niveau * 4, u' ')).append(u'"').append(QLatin1String(cle)).append(u"\": ");
        m_texte.append(valeur).append(dernier ? u"\n" : u",\n");
        ++m_lignes;
    }

    // A JSON string: quotes, backslashes and control characters escaped, the rest as it is.
    static QString Chaine(const QString& texte) {
        QString chaine;
        chaine.reserve(texte.size() + 2);
        chaine += u'"';
        for (const QChar c : texte) {
            switch (c.unicode()) {
            case u'"':
                chaine += QStringLiteral("\\\"");
                break;
            case u'\\':
                chaine += QStringLiteral("\\\\");
                break;
            case u'\n':
                chaine += QStringLiteral("\\n");
                break;
            case u'\r':
                chaine += QStringLiteral("\\r");
                break;
            case u'\t':
                chaine += QStringLiteral("\\t");
                break;
            default:
                if (c.unicode() < 0x20)
                    chaine += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
                else
                    chaine += c;
            }
        }
        chaine += u'"';
        return chaine;
    }

    void Objet(const Noeud& noeud, int niveau, bool descend) {
        const bool conteneur = EstConteneur(noeud.LettreType());
        const int interieur = niveau + 1;
        Ligne(niveau, QStringLiteral("{"));
        Membre(interieur, "name", Chaine(NomDuNoeud(noeud)));
        Membre(interieur, "dn", Chaine(noeud.DN()));
        Membre(interieur, "kind", Chaine(GenreDuNoeud(noeud)));
        Membre(interieur, "state", Chaine(EtatDuNoeud(noeud)), !conteneur);
        if (conteneur) {
            const bool compte = noeud.Text().contains(QChar(NBSP));
            Membre(interieur, "count",
                   compte ? QString::number(NombreDuLibelle(noeud.Text())) : QStringLiteral("null"));
            Enfants(noeud, interieur, descend);
        }
        Ligne(niveau, QStringLiteral("}"));
    }

    void Enfants(const Noeud& noeud, int niveau, bool descend) {
        bool vide = true;
        if (descend && noeud.ChildCount() > 0) {
            for (const Noeud* enfant = noeud.FirstChild(); enfant && !Plein();
                 enfant = enfant->NextSibling()) {
                if (!Exporte(*enfant, m_options))
                    continue;
                if (vide)
                    Ligne(niveau, QStringLiteral("\"children\": ["));
                else
                    VirguleDerniereLigne();
                vide = false;
                Objet(*enfant, niveau + 1, DescendDans(*enfant, m_options));
            }
        }
        if (vide)
            Ligne(niveau, QStringLiteral("\"children\": []"));
        else
            Ligne(niveau, QStringLiteral("]"));
    }

    const OptionsExport& m_options;
    const int m_lignesMax;
    QString m_texte;
    int m_lignes = 0;
};

} // namespace

QString GenreDuNoeud(const Noeud& noeud) {
    switch (noeud.LettreType().unicode()) {
    case u'O':
        return QStringLiteral("ou");
    case u'G':
        return QStringLiteral("group");
    case u'U':
        return QStringLiteral("user");
    case u'C':
        return QStringLiteral("computer");
    case u'S':
        return QStringLiteral("service");
    case u'K':
        return QStringLiteral("contact");
    case u'F':
        return QStringLiteral("foreign");
    default:
        return QStringLiteral("other");
    }
}

QString EtatDuNoeud(const Noeud& noeud) {
    const QString& image = noeud.Image();
    if (image.endsWith(u"_ina"))
        return QStringLiteral("disabled");
    if (image.endsWith(u"_ver"))
        return QStringLiteral("locked");
    if (image.endsWith(u"_exp"))
        return QStringLiteral("expired");
    if (image.endsWith(u"_rec"))
        return QStringLiteral("loop");
    return {};
}

QString ChampCsv(const QString& valeur) {
    if (!valeur.contains(u',') && !valeur.contains(u'"') && !valeur.contains(u'\r') &&
        !valeur.contains(u'\n'))
        return valeur;
    QString champ = valeur;
    champ.replace(u'"', QStringLiteral("\"\""));
    return u'"' + champ + u'"';
}

QString GenereCsv(const Noeud& racine, const OptionsExport& options, int lignesMax) {
    return EcritureCsv(options, lignesMax).Ecrit(racine);
}

QString GenereJson(const Noeud& racine, const OptionsExport& options, int lignesMax) {
    return EcritureJson(options, lignesMax).Ecrit(racine);
}

} // namespace arbrix
