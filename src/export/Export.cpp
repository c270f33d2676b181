#include "export/Export.h"

#include "i18n/Traductions.h"
#include "tree/Arbre.h"

namespace arbrix {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString DernièrePartieClé(const QString& clé) {
    return clé.mid(clé.lastIndexOf(u'\\') + 1);
}

// An account label is "display name (account)": the display name is what comes before the
// account part, found from the end so that a display name holding " (" stays whole.
QString NomAffichéDeCompte(const QString& nom, const QString& compte) {
    const QString suffixe = QStringLiteral(" (") + compte.toLower() + u')';
    if (nom.endsWith(suffixe))
        return nom.left(nom.size() - suffixe.size()).trimmed();
    const qsizetype parenthèse = nom.lastIndexOf(u" (");
    return parenthèse < 0 ? nom : nom.left(parenthèse).trimmed();
}

bool EstConteneur(QChar lettreType) {
    return lettreType == u'O' || lettreType == u'G';
}

} // namespace

QString DécodeCaractères(const QString& texte) {
    QString résultat = texte;
    résultat.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    résultat.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
    résultat.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return résultat;
}

GénérateurExport::GénérateurExport(OptionsExport options)
    : m_options(std::move(options)) {}

QString GénérateurExport::GénèreExport(const Arbre& arbre, bool aperçu) {
    const Noeud* sélection = arbre.SelectedItem();
    if (!sélection) {
        m_texteExport.clear();
        m_lignesAperçu = 0;
        return {};
    }
    return GénèreExport(*sélection, aperçu);
}

QString GénérateurExport::GénèreExport(const Noeud& noeud, bool aperçu) {
    m_indentation = DécodeCaractères(m_options.Indentation);
    m_séparateur = DécodeCaractères(m_options.Séparateur);
    m_modeColonné = m_options.Structure && m_options.ModeColonné;
    m_texteDésactivé = QString(QChar(0xA0)) + QStringLiteral("-> ") + Traduction(u"TXT_DESACTIVE");
    ExporteNoeud(noeud, aperçu, 0);
    return m_texteExport;
}

void GénérateurExport::ExporteNoeud(const Noeud& noeud, bool aperçu, int niveau) {
    if (niveau == 0) {
        m_comptesExportés.clear();
        if (m_options.Structure) {
            m_texteExport =
                m_options.Format == FormatExport::CommeAffiché ? noeud.Text() : NomDuLibelle(noeud.Text());
            m_lignesAperçu = 1;
        } else {
            m_texteExport.clear();
            m_lignesAperçu = 0;
        }
    }
    if (noeud.ChildCount() == 0)
        return;
    for (const Noeud* enfant = noeud.FirstChild(); enfant; enfant = enfant->NextSibling()) {
        if (m_lignesAperçu >= LignesAperçuMax)
            return;
        ExporteEnfant(*enfant, aperçu, niveau);
    }
}

void GénérateurExport::ExporteEnfant(const Noeud& enfant, bool aperçu, int niveau) {
    const QChar lettre = enfant.LettreType();
    const QString item = TexteColonné(enfant, TexteItem(enfant));
    bool écrite = false;
    if (EstConteneur(lettre)) {
        if (m_options.Structure) {
            AjouteLigne(item, niveau + 1);
            écrite = true;
        }
    } else if (CompteSélectionné(lettre)) {
        bool déjàExporté = false;
        if (!m_options.Structure) {
            const QString clé = item.toCaseFolded();
            déjàExporté = m_comptesExportés.contains(clé);
            if (!déjàExporté)
                m_comptesExportés.insert(clé);
        }
        if (!déjàExporté) {
            AjouteLigne(item, m_options.Structure ? niveau + 1 : 0);
            écrite = true;
        }
    }
    if (écrite && aperçu && m_lignesAperçu < LignesAperçuMax)
        ++m_lignesAperçu;
    if (enfant.ChildCount() > 0 && DoitDescendre(enfant))
        ExporteNoeud(enfant, aperçu, niveau + 1);
}

bool GénérateurExport::DoitDescendre(const Noeud& enfant) const {
    switch (m_options.Etendue) {
    case EtendueExport::Complète:
        return true;
    case EtendueExport::NoeudsOuverts:
        return enfant.Expanded();
    default:
        return false;
    }
}

bool GénérateurExport::CompteSélectionné(QChar lettreType) const {
    if (lettreType == u'U')
        return m_options.ComptesUtilisateurs;
    if (lettreType == u'C')
        return m_options.ComptesOrdinateurs;
    if (lettreType == u'S')
        return m_options.ComptesDeService;
    return false;
}

QString GénérateurExport::TexteItem(const Noeud& noeud) const {
    switch (m_options.Format) {
    case FormatExport::NomsEtComptes:
        return NomDuLibelle(noeud.Text());
    case FormatExport::Comptes:
        return DernièrePartieClé(noeud.Key());
    case FormatExport::Noms: {
        // Group and O.U. names are taken whole: "Sales (EMEA)" is a name, not a name and a note.
        const QString nom = NomDuLibelle(noeud.Text());
        return EstConteneur(noeud.LettreType()) ? nom.trimmed()
                                                : NomAffichéDeCompte(nom, DernièrePartieClé(noeud.Key()));
    }
    default: {
        QString texte = noeud.Text();
        if (noeud.Image().endsWith(u"_ina"))
            texte += m_texteDésactivé;
        return texte;
    }
    }
}

// The ancestors' names become leading columns: the Key up to its last "\" before the item, every
// "\" then turned into the separator (the root's "\\" gives two leading separators).
QString GénérateurExport::TexteColonné(const Noeud& noeud, const QString& item) const {
    if (!m_modeColonné)
        return item;
    const QString& clé = noeud.Key();
    QString texte = clé.left(clé.lastIndexOf(u'\\') + 1) + item;
    texte.replace(u'\\', m_séparateur);
    return texte;
}

void GénérateurExport::AjouteLigne(const QString& item, int indentations) {
    if (!m_texteExport.isEmpty()) {
        if (m_modeColonné) {
            m_texteExport += kCrLf;
        } else {
            m_texteExport += m_séparateur;
            for (int i = 0; i < indentations; ++i)
                m_texteExport += m_indentation;
        }
    }
    m_texteExport += item;
}

QString GénèreExport(const Arbre& arbre, const OptionsExport& options, bool aperçu) {
    return GénérateurExport(options).GénèreExport(arbre, aperçu);
}

} // namespace arbrix
