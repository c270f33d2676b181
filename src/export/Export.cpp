#include "export/Export.h"

#include "export/ExportStructure.h"
#include "export/ParcoursExport.h"
#include "i18n/Traductions.h"
#include "tree/Arbre.h"

namespace arbrix {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString DecodeCaracteres(const QString& texte) {
    QString resultat = texte;
    resultat.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    resultat.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
    resultat.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return resultat;
}

GenerateurExport::GenerateurExport(OptionsExport options)
    : m_options(std::move(options)) {}

QString GenerateurExport::GenereExport(const Arbre& arbre, bool apercu) {
    const Noeud* selection = arbre.SelectedItem();
    if (!selection) {
        m_texteExport.clear();
        m_lignesApercu = 0;
        return {};
    }
    return GenereExport(*selection, apercu);
}

QString GenerateurExport::GenereExport(const Noeud& noeud, bool apercu) {
    m_indentation = DecodeCaracteres(m_options.Indentation);
    m_separateur = DecodeCaracteres(m_options.Separateur);
    m_modeColonne = m_options.Structure && m_options.ModeColonne;
    m_texteDesactive = QString(QChar(0xA0)) + QStringLiteral("-> ") + Traduction(u"TXT_DESACTIVE");
    ExporteNoeud(noeud, apercu, 0);
    return m_texteExport;
}

void GenerateurExport::ExporteNoeud(const Noeud& noeud, bool apercu, int niveau) {
    if (niveau == 0) {
        m_comptesExportes.clear();
        if (m_options.Structure) {
            m_texteExport =
                m_options.Format == FormatExport::CommeAffiche ? noeud.Text() : NomDuLibelle(noeud.Text());
            m_lignesApercu = 1;
        } else {
            m_texteExport.clear();
            m_lignesApercu = 0;
        }
    }
    if (noeud.ChildCount() == 0)
        return;
    for (const Noeud* enfant = noeud.FirstChild(); enfant; enfant = enfant->NextSibling()) {
        if (m_lignesApercu >= LignesApercuMax)
            return;
        ExporteEnfant(*enfant, apercu, niveau);
    }
}

void GenerateurExport::ExporteEnfant(const Noeud& enfant, bool apercu, int niveau) {
    const QChar lettre = enfant.LettreType();
    // Only a line that is written has its text built: a preview that skips most of a large tree
    // costs no more than its few lines.
    const auto item = [&] { return TexteColonne(enfant, TexteItem(enfant)); };
    bool ecrite = false;
    if (EstConteneur(lettre)) {
        if (m_options.Structure) {
            AjouteLigne(item(), niveau + 1);
            ecrite = true;
        }
    } else if (MembreSelectionne(lettre, m_options)) {
        const QString texte = item();
        bool dejaExporte = false;
        if (!m_options.Structure) {
            const QString cle = texte.toCaseFolded();
            dejaExporte = m_comptesExportes.contains(cle);
            if (!dejaExporte)
                m_comptesExportes.insert(cle);
        }
        if (!dejaExporte) {
            AjouteLigne(texte, m_options.Structure ? niveau + 1 : 0);
            ecrite = true;
        }
    }
    if (ecrite && apercu && m_lignesApercu < LignesApercuMax)
        ++m_lignesApercu;
    if (enfant.ChildCount() > 0 && DescendDans(enfant, m_options))
        ExporteNoeud(enfant, apercu, niveau + 1);
}

QString GenerateurExport::TexteItem(const Noeud& noeud) const {
    switch (m_options.Format) {
    case FormatExport::NomsEtComptes:
        return NomDuLibelle(noeud.Text());
    case FormatExport::Comptes:
        return NomDeLaCle(noeud.Key());
    case FormatExport::Noms:
        return NomDuNoeud(noeud);
    default: {
        QString texte = noeud.Text();
        if (noeud.Image().endsWith(u"_ina"))
            texte += m_texteDesactive;
        return texte;
    }
    }
}

// The ancestors' names become leading columns: the Key up to its last "\" before the item, every
// "\" then turned into the separator (the root's "\\" gives two leading separators).
QString GenerateurExport::TexteColonne(const Noeud& noeud, const QString& item) const {
    if (!m_modeColonne)
        return item;
    const QString cle = CleSansNumerotation(noeud.Key());
    QString texte = cle.left(cle.lastIndexOf(u'\\') + 1) + item;
    texte.replace(u'\\', m_separateur);
    return texte;
}

void GenerateurExport::AjouteLigne(const QString& item, int indentations) {
    if (!m_texteExport.isEmpty()) {
        if (m_modeColonne) {
            m_texteExport += kCrLf;
        } else {
            m_texteExport += m_separateur;
            for (int i = 0; i < indentations; ++i)
                m_texteExport += m_indentation;
        }
    }
    m_texteExport += item;
}

QString GenereExport(const Arbre& arbre, const OptionsExport& options, bool apercu) {
    return GenerateurExport(options).GenereExport(arbre, apercu);
}

QString GenereExportSelonType(const Noeud& noeud, const OptionsExport& options, bool apercu) {
    const int lignesMax = apercu ? LignesApercuMax : 0;
    switch (options.Type) {
    case TypeExport::Csv:
        return GenereCsv(noeud, options, lignesMax);
    case TypeExport::Json:
        return GenereJson(noeud, options, lignesMax);
    default:
        return GenerateurExport(options).GenereExport(noeud, apercu);
    }
}

} // namespace arbrix
