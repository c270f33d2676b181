#include "tree/Arbre.h"

#include <algorithm>
#include <vector>

namespace arbrix {

QString FormateLibelle(const QString& nom, qint32 nombre, bool afficherNombreMembres) {
    if (!afficherNombreMembres)
        return nom;
    return nom + QChar(NBSP) + u'(' + QString::number(nombre) + u')';
}

QString NomDuLibelle(const QString& libelle) {
    const qsizetype i = libelle.indexOf(QChar(NBSP));
    return i < 0 ? libelle : libelle.left(i);
}

QString PartieCleNumerotee(const QString& nom, int numero) {
    return nom + QChar(NBSP) + u'(' + QString::number(numero) + u')';
}

// Where the numbering of the Key part ending at fin starts; fin when it has none.
static qsizetype debutNumerotation(QStringView cle, qsizetype fin) {
    if (fin < 4 || cle[fin - 1] != u')')
        return fin;
    qsizetype i = fin - 2;
    while (i >= 0 && cle[i].isDigit())
        --i;
    if (i == fin - 2 || i < 1 || cle[i] != u'(' || cle[i - 1] != QChar(NBSP))
        return fin;
    return i - 1;
}

QString CleSansNumerotation(const QString& cle) {
    QString resultat;
    resultat.reserve(cle.size());
    qsizetype debut = 0;
    while (debut <= cle.size()) {
        qsizetype fin = cle.indexOf(u'\\', debut);
        if (fin < 0)
            fin = cle.size();
        resultat += QStringView(cle).mid(debut, debutNumerotation(cle, fin) - debut);
        if (fin < cle.size())
            resultat += u'\\';
        debut = fin + 1;
    }
    return resultat;
}

QString NomDeLaCle(const QString& cle) {
    const qsizetype debut = cle.lastIndexOf(u'\\') + 1;
    return cle.mid(debut, debutNumerotation(cle, cle.size()) - debut);
}

qint32 NombreDuLibelle(const QString& libelle) {
    const qsizetype i = libelle.indexOf(QChar(NBSP));
    if (i < 0)
        return 0;
    // From two characters after the NBSP up to, not including, the last character.
    const qsizetype debut = i + 2;
    const qsizetype longueur = libelle.size() - 1 - debut;
    if (longueur <= 0)
        return 0;
    const QStringView chiffres = QStringView(libelle).mid(debut, longueur).trimmed();
    qsizetype fin = 0;
    if (fin < chiffres.size() && (chiffres[fin] == u'-' || chiffres[fin] == u'+'))
        ++fin;
    while (fin < chiffres.size() && chiffres[fin].isDigit() && chiffres[fin].unicode() < 128)
        ++fin;
    bool ok = false;
    const qint64 valeur = chiffres.left(fin).toLongLong(&ok);
    if (!ok)
        return 0;
    return qint32(std::clamp<qint64>(valeur, INT32_MIN, INT32_MAX));
}

ErreurCleDupliquee::ErreurCleDupliquee(QString cle)
    : m_cle(std::move(cle))
    , m_what(("duplicate tree key: " + m_cle).toStdString()) {}

QString ErreurCleDupliquee::text() const {
    return QStringLiteral("La clé n'est pas unique dans la collection : ") + m_cle;
}

// --- Noeud

Noeud::~Noeud() = default;

Noeud* Noeud::NextSibling() const {
    return m_liste ? m_liste->after(this) : nullptr;
}

Noeud* Noeud::PreviousSibling() const {
    return m_liste ? m_liste->before(this) : nullptr;
}

int Noeud::Depth() const {
    int profondeur = 0;
    for (const Noeud* p = m_parent; p; p = p->m_parent)
        ++profondeur;
    return profondeur;
}

// --- Arbre

Arbre::Arbre(QObject* parent)
    : QObject(parent) {
    setLocale(QLocale());
}

Arbre::~Arbre() {
    detruitListe(m_racines);
}

void Arbre::setLocale(const QLocale& locale) {
    const bool sansCollation = locale.language() == QLocale::C;
    m_collator = QCollator(sansCollation ? QLocale(QLocale::English, QLocale::UnitedStates) : locale);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    if (m_index.isEmpty())
        return;
    if (notifie())
        emit aboutToBeReset();
    ParcoursPrefixe(nullptr, [this](Noeud* n) {
        if (n->m_sorted)
            trieListe(n->m_enfants);
        return true;
    });
    if (notifie())
        emit reset();
}

int Arbre::ChildCount(const Noeud* parent) const {
    return enfantsDe(parent).size();
}

Noeud* Arbre::Child(const Noeud* parent, int row) const {
    return enfantsDe(parent).at(row);
}

namespace {

// The rows from the top level down to the node: ordered as the nodes are in pre-order.
std::vector<int> Chemin(const Noeud* noeud) {
    std::vector<int> rangs;
    for (const Noeud* n = noeud; n; n = n->Parent())
        rangs.push_back(n->Row());
    std::reverse(rangs.begin(), rangs.end());
    return rangs;
}

} // namespace

QList<Noeud*> Arbre::Instances(const QString& tag) const {
    QList<Noeud*> trouves = m_parTag.values(tag);
    if (trouves.size() > 1) {
        std::vector<std::pair<std::vector<int>, Noeud*>> ordonnes;
        ordonnes.reserve(trouves.size());
        for (Noeud* n : std::as_const(trouves))
            ordonnes.emplace_back(Chemin(n), n);
        std::sort(ordonnes.begin(), ordonnes.end());
        for (qsizetype i = 0; i < trouves.size(); ++i)
            trouves[i] = ordonnes[size_t(i)].second;
    }
    return trouves;
}

Noeud* EnfantDeTag(const Noeud* parent, const QString& tag) {
    for (int i = 0; i < parent->ChildCount(); ++i) {
        if (parent->Child(i)->Tag() == tag)
            return parent->Child(i);
    }
    return nullptr;
}

Noeud* Arbre::SuivantPrefixe(const Noeud* noeud, const Noeud* borne) const {
    if (!noeud)
        return nullptr;
    if (Noeud* premier = noeud->FirstChild())
        return premier;
    for (const Noeud* n = noeud; n && n != borne; n = n->m_parent) {
        if (Noeud* frere = n->NextSibling())
            return frere;
    }
    return nullptr;
}

void Arbre::calculeCleTri(Noeud* noeud) const {
    noeud->m_cleTri = m_collator.sortKey(noeud->m_text);
}

int Arbre::placeTriee(const ListeEnfants& liste, const Noeud* noeud) const {
    const QCollatorSortKey& cle = *noeud->m_cleTri;
    return liste.upperBound([&cle](const Noeud* autre) { return autre->m_cleTri->compare(cle) > 0; });
}

void Arbre::trieListe(ListeEnfants& liste) {
    std::vector<Noeud*> noeuds = liste.takeAll();
    for (Noeud* n : noeuds)
        calculeCleTri(n);
    std::stable_sort(noeuds.begin(), noeuds.end(),
                     [](const Noeud* a, const Noeud* b) { return a->m_cleTri->compare(*b->m_cleTri) < 0; });
    liste.assign(noeuds);
}

Noeud* Arbre::Ajoute(Noeud* parent, const QString& cle, const QString& texte, const QString& tag,
                     const QString& image, bool trierEnfants) {
    if (m_index.contains(cle))
        throw ErreurCleDupliquee(cle);
    auto noeud = std::unique_ptr<Noeud>(new Noeud);
    noeud->m_key = cle;
    noeud->m_text = texte;
    noeud->m_tag = tag;
    noeud->m_image = image;
    noeud->m_sorted = trierEnfants;
    noeud->m_parent = parent;

    ListeEnfants& liste = enfantsDe(parent);
    int row = liste.size();
    if (parent && parent->m_sorted) {
        calculeCleTri(noeud.get());
        row = placeTriee(liste, noeud.get());
    }
    if (notifie())
        emit nodeAboutToBeInserted(parent, row);
    Noeud* ajoute = noeud.release();
    liste.insert(row, ajoute);
    m_index.insert(cle, ajoute);
    if (!tag.isEmpty())
        m_parTag.insert(tag, ajoute);
    if (notifie())
        emit nodeInserted(parent, row);
    return ajoute;
}

void Arbre::oublieSousArbre(Noeud* noeud) {
    ParcoursPrefixe(noeud, [this](Noeud* n) {
        m_index.remove(n->m_key);
        m_parTag.remove(n->m_tag, n);
        if (n == m_selection)
            m_selection = nullptr;
        return true;
    });
}

void Arbre::detruitListe(ListeEnfants& liste) {
    // Iterative, so that a deep tree cannot exhaust the stack.
    std::vector<Noeud*> aDetruire = liste.takeAll();
    while (!aDetruire.empty()) {
        Noeud* n = aDetruire.back();
        aDetruire.pop_back();
        std::vector<Noeud*> enfants = n->m_enfants.takeAll();
        aDetruire.insert(aDetruire.end(), enfants.begin(), enfants.end());
        delete n;
    }
}

void Arbre::Supprime(Noeud* noeud) {
    if (!noeud)
        return;
    Noeud* parent = noeud->m_parent;
    const int row = noeud->Row();
    const bool selectionPerdue = m_selection != nullptr && [&] {
        for (const Noeud* n = m_selection; n; n = n->m_parent)
            if (n == noeud)
                return true;
        return false;
    }();
    if (notifie())
        emit nodeAboutToBeRemoved(parent, row);
    oublieSousArbre(noeud);
    enfantsDe(parent).removeAt(row);
    detruitListe(noeud->m_enfants);
    delete noeud;
    if (notifie()) {
        emit nodeRemoved(parent, row);
        if (selectionPerdue)
            emit selectionChanged(nullptr);
    }
}

QString Arbre::CleLibre(const Noeud* parent, const QString& nom) const {
    const QString base = parent ? parent->Key() + u'\\' + nom : QStringLiteral("\\\\") + nom;
    QString cle = base;
    for (int i = 2; m_index.contains(cle); ++i)
        cle = PartieCleNumerotee(base, i);
    return cle;
}

void Arbre::ChangeCle(Noeud* noeud, const QString& cle) {
    const QString ancienne = noeud->m_key;
    if (ancienne == cle)
        return;
    QList<Noeud*> sousArbre;
    ParcoursPrefixe(noeud, [&](Noeud* n) {
        sousArbre.append(n);
        return true;
    });
    QStringList nouvelles;
    for (const Noeud* n : std::as_const(sousArbre)) {
        nouvelles.append(cle + n->m_key.mid(ancienne.size()));
        const Noeud* occupant = m_index.value(nouvelles.last(), nullptr);
        if (occupant && !sousArbre.contains(occupant))
            throw ErreurCleDupliquee(nouvelles.last());
    }
    for (const Noeud* n : std::as_const(sousArbre))
        m_index.remove(n->m_key);
    for (qsizetype i = 0; i < sousArbre.size(); ++i) {
        sousArbre[i]->m_key = nouvelles[i];
        m_index.insert(nouvelles[i], sousArbre[i]);
    }
}

void Arbre::Vide() {
    if (!m_index.isEmpty() || m_selection) {
        if (notifie())
            emit aboutToBeReset();
        m_index.clear();
        m_parTag.clear();
        m_selection = nullptr;
        detruitListe(m_racines);
        if (notifie()) {
            emit reset();
            emit selectionChanged(nullptr);
        }
    }
    emit emptied();
}

void Arbre::ChangeTexte(Noeud* noeud, const QString& texte) {
    if (noeud->m_text == texte)
        return;
    noeud->m_text = texte;
    Noeud* parent = noeud->m_parent;
    if (parent && parent->m_sorted) {
        ListeEnfants& liste = parent->m_enfants;
        const int avant = noeud->Row();
        calculeCleTri(noeud);
        liste.removeAt(avant);
        const int apres = placeTriee(liste, noeud);
        if (apres != avant && notifie())
            emit nodeAboutToBeMoved(parent, avant, apres);
        liste.insert(apres, noeud);
        if (apres != avant && notifie())
            emit nodeMoved(parent, avant, apres);
    }
    if (notifie())
        emit nodeChanged(noeud);
}

void Arbre::ChangeTag(Noeud* noeud, const QString& tag) {
    if (noeud->m_tag == tag)
        return;
    m_parTag.remove(noeud->m_tag, noeud);
    noeud->m_tag = tag;
    if (!tag.isEmpty())
        m_parTag.insert(tag, noeud);
    if (notifie())
        emit nodeChanged(noeud);
}

void Arbre::ChangeImage(Noeud* noeud, const QString& image) {
    if (noeud->m_image == image)
        return;
    noeud->m_image = image;
    if (notifie())
        emit nodeChanged(noeud);
}

void Arbre::ChangeTriEnfants(Noeud* noeud, bool trier) {
    if (noeud->m_sorted == trier)
        return;
    noeud->m_sorted = trier;
    if (!trier || noeud->m_enfants.empty())
        return;
    if (notifie())
        emit aboutToBeReset();
    trieListe(noeud->m_enfants);
    if (notifie())
        emit reset();
}

void Arbre::Deplie(Noeud* noeud, bool deplie) {
    if (!noeud || noeud->m_expanded == deplie)
        return;
    noeud->m_expanded = deplie;
    if (notifie())
        emit expandedChanged(noeud, deplie);
}

void Arbre::RendVisible(Noeud* noeud) {
    if (!noeud)
        return;
    for (Noeud* p = noeud->m_parent; p; p = p->m_parent)
        Deplie(p, true);
    if (notifie())
        emit ensureVisibleRequested(noeud);
}

void Arbre::Selectionne(Noeud* noeud) {
    if (m_selection == noeud)
        return;
    m_selection = noeud;
    if (notifie())
        emit selectionChanged(noeud);
}

void Arbre::RendVisibleEtSelectionne(Noeud* noeud) {
    RendVisible(noeud);
    Selectionne(noeud);
}

QString Arbre::FormateLibelle(const QString& nom, qint32 nombre) const {
    return arbrix::FormateLibelle(nom, nombre, m_afficherNombreMembres);
}

void Arbre::AjusteNombreMembres(Noeud* noeud, qint32 delta) {
    for (Noeud* n = noeud; n; n = n->m_parent)
        ChangeTexte(n, FormateLibelle(NomDuLibelle(n->m_text), NombreDuLibelle(n->m_text) + delta));
}

void Arbre::setNotificationsSuspended(bool suspendues) {
    if (m_suspendues == suspendues)
        return;
    // Both ways the views start again from nothing: empty while suspended, then the whole tree.
    emit aboutToBeReset();
    m_suspendues = suspendues;
    emit reset();
    if (!suspendues)
        emit selectionChanged(m_selection);
}

VueArbre CaptureVue(const Arbre& arbre) {
    VueArbre vue;
    if (arbre.isEmpty())
        return vue;
    arbre.ParcoursPrefixe(nullptr, [&](const Noeud* n) {
        if (n->Expanded())
            vue.deplies.append(n->Key());
        return true;
    });
    if (const Noeud* selection = arbre.SelectedItem())
        vue.selection = selection->Key();
    return vue;
}

void RestaureVue(Arbre& arbre, const VueArbre& vue) {
    for (const QString& cle : vue.deplies)
        if (Noeud* n = arbre.Node(cle))
            arbre.Deplie(n);
    if (Noeud* selection = arbre.Node(vue.selection))
        arbre.RendVisibleEtSelectionne(selection);
}

} // namespace arbrix
