#include "tree/Arbre.h"

#include <algorithm>

namespace arbrix {

QString FormateLibelle(const QString& nom, qint32 nombre, bool afficherNombreMembres) {
    if (!afficherNombreMembres)
        return nom;
    return nom + QChar(NBSP) + u'(' + QString::number(nombre) + u')';
}

QString NomDuLibelle(const QString& libellé) {
    const qsizetype i = libellé.indexOf(QChar(NBSP));
    return i < 0 ? libellé : libellé.left(i);
}

qint32 NombreDuLibelle(const QString& libellé) {
    const qsizetype i = libellé.indexOf(QChar(NBSP));
    if (i < 0)
        return 0;
    // From two characters after the NBSP up to, not including, the last character.
    const qsizetype début = i + 2;
    const qsizetype longueur = libellé.size() - 1 - début;
    if (longueur <= 0)
        return 0;
    const QStringView chiffres = QStringView(libellé).mid(début, longueur).trimmed();
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

ErreurCléDupliquée::ErreurCléDupliquée(QString clé)
    : m_clé(std::move(clé))
    , m_what(("duplicate tree key: " + m_clé).toStdString()) {}

QString ErreurCléDupliquée::text() const {
    return QStringLiteral("La clé n'est pas unique dans la collection : ") + m_clé;
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
    détruitListe(m_racines);
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
    ParcoursPréfixe(nullptr, [this](Noeud* n) {
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

Noeud* Arbre::SuivantPréfixe(const Noeud* noeud, const Noeud* borne) const {
    if (!noeud)
        return nullptr;
    if (Noeud* premier = noeud->FirstChild())
        return premier;
    for (const Noeud* n = noeud; n && n != borne; n = n->m_parent) {
        if (Noeud* frère = n->NextSibling())
            return frère;
    }
    return nullptr;
}

void Arbre::calculeCléTri(Noeud* noeud) const {
    noeud->m_cléTri = m_collator.sortKey(noeud->m_text);
}

int Arbre::placeTriée(const ListeEnfants& liste, const Noeud* noeud) const {
    const QCollatorSortKey& clé = *noeud->m_cléTri;
    return liste.upperBound([&clé](const Noeud* autre) { return autre->m_cléTri->compare(clé) > 0; });
}

void Arbre::trieListe(ListeEnfants& liste) {
    std::vector<Noeud*> noeuds = liste.takeAll();
    for (Noeud* n : noeuds)
        calculeCléTri(n);
    std::stable_sort(noeuds.begin(), noeuds.end(),
                     [](const Noeud* a, const Noeud* b) { return a->m_cléTri->compare(*b->m_cléTri) < 0; });
    liste.assign(noeuds);
}

Noeud* Arbre::Ajoute(Noeud* parent, const QString& clé, const QString& texte, const QString& tag,
                     const QString& image, bool trierEnfants) {
    if (m_index.contains(clé))
        throw ErreurCléDupliquée(clé);
    auto noeud = std::unique_ptr<Noeud>(new Noeud);
    noeud->m_key = clé;
    noeud->m_text = texte;
    noeud->m_tag = tag;
    noeud->m_image = image;
    noeud->m_sorted = trierEnfants;
    noeud->m_parent = parent;

    ListeEnfants& liste = enfantsDe(parent);
    int row = liste.size();
    if (parent && parent->m_sorted) {
        calculeCléTri(noeud.get());
        row = placeTriée(liste, noeud.get());
    }
    if (notifie())
        emit nodeAboutToBeInserted(parent, row);
    Noeud* ajouté = noeud.release();
    liste.insert(row, ajouté);
    m_index.insert(clé, ajouté);
    if (notifie())
        emit nodeInserted(parent, row);
    return ajouté;
}

void Arbre::oublieSousArbre(Noeud* noeud) {
    ParcoursPréfixe(noeud, [this](Noeud* n) {
        m_index.remove(n->m_key);
        if (n == m_sélection)
            m_sélection = nullptr;
        return true;
    });
}

void Arbre::détruitListe(ListeEnfants& liste) {
    // Iterative, so that a deep tree cannot exhaust the stack.
    std::vector<Noeud*> àDétruire = liste.takeAll();
    while (!àDétruire.empty()) {
        Noeud* n = àDétruire.back();
        àDétruire.pop_back();
        std::vector<Noeud*> enfants = n->m_enfants.takeAll();
        àDétruire.insert(àDétruire.end(), enfants.begin(), enfants.end());
        delete n;
    }
}

void Arbre::Supprime(Noeud* noeud) {
    if (!noeud)
        return;
    Noeud* parent = noeud->m_parent;
    const int row = noeud->Row();
    const bool sélectionPerdue = m_sélection != nullptr && [&] {
        for (const Noeud* n = m_sélection; n; n = n->m_parent)
            if (n == noeud)
                return true;
        return false;
    }();
    if (notifie())
        emit nodeAboutToBeRemoved(parent, row);
    oublieSousArbre(noeud);
    enfantsDe(parent).removeAt(row);
    détruitListe(noeud->m_enfants);
    delete noeud;
    if (notifie()) {
        emit nodeRemoved(parent, row);
        if (sélectionPerdue)
            emit selectionChanged(nullptr);
    }
}

void Arbre::Vide() {
    if (m_index.isEmpty() && !m_sélection)
        return;
    if (notifie())
        emit aboutToBeReset();
    m_index.clear();
    m_sélection = nullptr;
    détruitListe(m_racines);
    if (notifie()) {
        emit reset();
        emit selectionChanged(nullptr);
    }
}

void Arbre::ChangeTexte(Noeud* noeud, const QString& texte) {
    if (noeud->m_text == texte)
        return;
    noeud->m_text = texte;
    Noeud* parent = noeud->m_parent;
    if (parent && parent->m_sorted) {
        ListeEnfants& liste = parent->m_enfants;
        const int avant = noeud->Row();
        calculeCléTri(noeud);
        liste.removeAt(avant);
        const int après = placeTriée(liste, noeud);
        if (après != avant && notifie())
            emit nodeAboutToBeMoved(parent, avant, après);
        liste.insert(après, noeud);
        if (après != avant && notifie())
            emit nodeMoved(parent, avant, après);
    }
    if (notifie())
        emit nodeChanged(noeud);
}

void Arbre::ChangeTag(Noeud* noeud, const QString& tag) {
    if (noeud->m_tag == tag)
        return;
    noeud->m_tag = tag;
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

void Arbre::Déplie(Noeud* noeud, bool déplié) {
    if (!noeud || noeud->m_expanded == déplié)
        return;
    noeud->m_expanded = déplié;
    if (notifie())
        emit expandedChanged(noeud, déplié);
}

void Arbre::RendVisible(Noeud* noeud) {
    if (!noeud)
        return;
    for (Noeud* p = noeud->m_parent; p; p = p->m_parent)
        Déplie(p, true);
    if (notifie())
        emit ensureVisibleRequested(noeud);
}

void Arbre::Sélectionne(Noeud* noeud) {
    if (m_sélection == noeud)
        return;
    m_sélection = noeud;
    if (notifie())
        emit selectionChanged(noeud);
}

void Arbre::RendVisibleEtSélectionne(Noeud* noeud) {
    RendVisible(noeud);
    Sélectionne(noeud);
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
        emit selectionChanged(m_sélection);
}

} // namespace arbrix
