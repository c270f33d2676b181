#include "ReferenceLdap.h"

#include <QElapsedTimer>
#include <QList>
#include <QSet>

#include <ldap.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace arbrix::bench {

namespace {

constexpr const char* kOidRequetePortee = "1.2.840.113556.1.4.1504";
constexpr int kTaillePage = 1000;

struct Attribut {
    QByteArray nom;
    QList<QByteArray> valeurs;
};

struct Entree {
    QByteArray dn;
    QList<Attribut> attributs;
};

struct Recherche {
    QByteArray base;
    int portee = LDAP_SCOPE_BASE;
    QByteArray filtre;
    QList<QByteArray> attributs;
    bool porteeMembres = false; // the attribute scoped query on member
    bool paginee = false;
    bool groupes = false; // its entries' members are followed
    QByteArray cookie;
};

// True on success; otherwise says on stderr what failed, where.
bool Ok(int rc, const QByteArray& ou, const char* quoi, const char* detail = nullptr) {
    if (rc == LDAP_SUCCESS)
        return true;
    std::fprintf(stderr, "bench-reference: %s: %s: %s%s%s\n", ou.constData(), quoi, ldap_err2string(rc),
                 detail && *detail ? " - " : "", detail ? detail : "");
    return false;
}

struct Deconnexion {
    void operator()(LDAP* ld) const { ldap_unbind_ext_s(ld, nullptr, nullptr); }
};
using Connexion = std::unique_ptr<LDAP, Deconnexion>;

// The server's own words on the last failure of ld, for a TLS or bind error.
QByteArray Diagnostic(LDAP* ld) {
    char* texte = nullptr;
    if (ldap_get_option(ld, LDAP_OPT_DIAGNOSTIC_MESSAGE, &texte) != LDAP_OPT_SUCCESS || !texte)
        return {};
    const QByteArray copie(texte);
    ldap_memfree(texte);
    return copie;
}

Connexion Ouvre(const ConnexionReference& c) {
    const QByteArray uri = c.uri.toUtf8();
    LDAP* brut = nullptr;
    const int rc = ldap_initialize(&brut, uri.constData());
    Connexion ld(brut);
    if (!Ok(rc, uri, "ldap_initialize"))
        return nullptr;
    const int version = LDAP_VERSION3;
    if (!Ok(ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version), uri, "protocol version") ||
        !Ok(ldap_set_option(ld.get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF), uri, "referrals"))
        return nullptr;
    const int tls = ldap_start_tls_s(ld.get(), nullptr, nullptr);
    if (!Ok(tls, uri, "ldap_start_tls_s", Diagnostic(ld.get()).constData()))
        return nullptr;
    QByteArray motDePasse = c.motDePasse.toUtf8();
    berval secret{ber_len_t(motDePasse.size()), motDePasse.data()};
    const int bind = ldap_sasl_bind_s(ld.get(), c.login.toUtf8().constData(), LDAP_SASL_SIMPLE, &secret,
                                      nullptr, nullptr, nullptr);
    if (!Ok(bind, uri, "ldap_sasl_bind_s", Diagnostic(ld.get()).constData()))
        return nullptr;
    return ld;
}

// Reads every attribute and value of an entry, as a client that keeps them would.
bool LitEntree(LDAP* ld, LDAPMessage* message, Entree& entree) {
    // libldap reports a decoding failure only through the result code, which a success leaves alone.
    int rc = LDAP_SUCCESS;
    ldap_set_option(ld, LDAP_OPT_RESULT_CODE, &rc);
    char* dn = ldap_get_dn(ld, message);
    const bool sansDn = !dn;
    entree.dn = dn;
    ldap_memfree(dn);
    BerElement* ber = nullptr;
    for (char* nom = ldap_first_attribute(ld, message, &ber); nom;
         nom = ldap_next_attribute(ld, message, ber)) {
        Attribut attribut{nom, {}};
        if (berval** valeurs = ldap_get_values_len(ld, message, nom)) {
            for (berval** v = valeurs; *v; ++v)
                attribut.valeurs.append(QByteArray((*v)->bv_val, qsizetype((*v)->bv_len)));
            ldap_value_free_len(valeurs);
        }
        ldap_memfree(nom);
        entree.attributs.append(std::move(attribut));
    }
    if (ber)
        ber_free(ber, 0);
    ldap_get_option(ld, LDAP_OPT_RESULT_CODE, &rc);
    return Ok(rc == LDAP_SUCCESS && sansDn ? LDAP_DECODING_ERROR : rc, entree.dn, "reading the entry");
}

// The searches of one root on one connection: a queue, at most enVol of them sent and not yet
// answered, each entry handed over as it arrives.
class Lecteur {
public:
    using Reception = std::function<void(const Recherche&, const Entree&)>;

    Lecteur(LDAP* ld, MesureReference& mesure)
        : m_ld(ld)
        , m_mesure(mesure) {}
    ~Lecteur() {
        if (m_portee)
            ldap_control_free(m_portee);
    }

    void ajoute(Recherche r) { m_file.push_back(std::move(r)); }

    // Runs the queue dry, searches added by reception included; false at the first failure.
    bool execute(int enVol, const Reception& reception) {
        while (!m_file.empty() || !m_enVol.empty()) {
            while (!m_file.empty() && int(m_enVol.size()) < std::max(1, enVol)) {
                Recherche r = std::move(m_file.front());
                m_file.pop_front();
                ++m_mesure.recherches;
                if (!envoie(std::move(r)))
                    return false;
            }
            LDAPMessage* message = nullptr;
            const int type = ldap_result(m_ld, LDAP_RES_ANY, LDAP_MSG_ONE, nullptr, &message);
            const std::unique_ptr<LDAPMessage, int (*)(LDAPMessage*)> proprietaire(message, ldap_msgfree);
            if (type <= 0) {
                int rc = LDAP_OTHER;
                ldap_get_option(m_ld, LDAP_OPT_RESULT_CODE, &rc);
                return Ok(rc == LDAP_SUCCESS ? LDAP_OTHER : rc, "connection", "ldap_result");
            }
            const auto trouvee = m_enVol.find(ldap_msgid(message));
            if (trouvee == m_enVol.end()) {
                std::fprintf(stderr, "bench-reference: an answer to no search sent (type %d)\n", type);
                return false;
            }
            if (type == LDAP_RES_SEARCH_ENTRY) {
                Entree entree;
                if (!LitEntree(m_ld, message, entree))
                    return false;
                ++m_mesure.lignes;
                reception(trouvee->second, entree);
            } else if (type == LDAP_RES_SEARCH_RESULT) {
                Recherche r = std::move(trouvee->second);
                m_enVol.erase(trouvee);
                ++m_mesure.pages;
                if (!termine(message, r))
                    return false;
                // The next page takes the slot of the one just read, ahead of the queue.
                if (!r.cookie.isEmpty() && !envoie(std::move(r)))
                    return false;
            }
            // Search references (other naming contexts) are not followed.
        }
        return true;
    }

private:
    bool envoie(Recherche r) {
        LDAPControl* controles[2] = {nullptr, nullptr};
        LDAPControl* page = nullptr;
        int rc = LDAP_SUCCESS;
        if (r.porteeMembres) {
            if (!m_portee && !creeControlePortee())
                return false;
            controles[0] = m_portee;
        } else if (r.paginee) {
            berval cookie{ber_len_t(r.cookie.size()), r.cookie.data()};
            rc =
                ldap_create_page_control(m_ld, kTaillePage, r.cookie.isEmpty() ? nullptr : &cookie, 0, &page);
            if (!Ok(rc, r.base, "ldap_create_page_control"))
                return false;
            controles[0] = page;
        }
        std::vector<char*> attributs;
        for (QByteArray& a : r.attributs)
            attributs.push_back(a.data());
        attributs.push_back(nullptr);
        int id = 0;
        rc = ldap_search_ext(m_ld, r.base.constData(), r.portee, r.filtre.constData(), attributs.data(), 0,
                             controles[0] ? controles : nullptr, nullptr, nullptr, LDAP_NO_LIMIT, &id);
        if (page)
            ldap_control_free(page);
        if (!Ok(rc, r.base, "ldap_search_ext"))
            return false;
        m_enVol.emplace(id, std::move(r));
        return true;
    }

    // The server's verdict on a search; for a paged one, leaves the next page's cookie in r.
    bool termine(LDAPMessage* message, Recherche& r) {
        int erreur = LDAP_SUCCESS;
        char* texte = nullptr;
        LDAPControl** controles = nullptr;
        int rc = ldap_parse_result(m_ld, message, &erreur, nullptr, &texte, nullptr, &controles, 0);
        const std::unique_ptr<char, void (*)(void*)> texteProprietaire(texte, ldap_memfree);
        const std::unique_ptr<LDAPControl*, void (*)(LDAPControl**)> controlesProprietaire(
            controles, ldap_controls_free);
        if (!Ok(rc, r.base, "ldap_parse_result") || !Ok(erreur, r.base, "search", texte))
            return false;
        r.cookie.clear();
        if (r.porteeMembres)
            return verdictPortee(controles, r);
        if (!r.paginee)
            return true;
        LDAPControl* reponse = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, controles, nullptr);
        ber_int_t estimation = 0;
        berval cookie{0, nullptr};
        rc = reponse ? ldap_parse_pageresponse_control(m_ld, reponse, &estimation, &cookie)
                     : LDAP_CONTROL_NOT_FOUND;
        if (!Ok(rc, r.base, "paged results response"))
            return false;
        r.cookie = QByteArray(cookie.bv_val, qsizetype(cookie.bv_len));
        ber_memfree(cookie.bv_val);
        return true;
    }

    // A success can still carry the scoped query's own failure (an attribute that names no DNs).
    bool verdictPortee(LDAPControl** controles, const Recherche& r) {
        LDAPControl* reponse = ldap_control_find(kOidRequetePortee, controles, nullptr);
        if (!reponse)
            return true;
        BerElement* ber = ber_init(&reponse->ldctl_value);
        ber_int_t verdict = LDAP_SUCCESS;
        const bool lu = ber && ber_scanf(ber, "{e}", &verdict) != LBER_ERROR;
        if (ber)
            ber_free(ber, 1);
        return Ok(lu ? verdict : LDAP_DECODING_ERROR, r.base, "attribute scoped query");
    }

    bool creeControlePortee() {
        BerElement* ber = ber_alloc_t(LBER_USE_DER);
        berval valeur{0, nullptr};
        const bool code =
            ber && ber_printf(ber, "{s}", "member") != -1 && ber_flatten2(ber, &valeur, 0) != -1;
        int rc =
            code ? ldap_control_create(kOidRequetePortee, 1, &valeur, 1, &m_portee) : LDAP_ENCODING_ERROR;
        if (ber)
            ber_free(ber, 1);
        return Ok(rc, "member", "attribute scoped query control");
    }

    LDAP* m_ld;
    MesureReference& m_mesure;
    LDAPControl* m_portee = nullptr;
    std::deque<Recherche> m_file;
    std::unordered_map<int, Recherche> m_enVol;
};

QList<QByteArray> Utf8(const QStringList& textes) {
    QList<QByteArray> octets;
    for (const QString& t : textes)
        octets.append(t.toUtf8());
    return octets;
}

bool EstGroupe(const Entree& e) {
    for (const Attribut& a : e.attributs) {
        if (a.nom.compare("objectClass", Qt::CaseInsensitive) == 0)
            return std::any_of(a.valeurs.begin(), a.valeurs.end(), [](const QByteArray& v) {
                return v.compare("group", Qt::CaseInsensitive) == 0;
            });
    }
    return false;
}

// A base search for the rows under dn: its members when membres, else the object itself.
Recherche Lecture(const QByteArray& dn, const QString& filtreComptes, const QStringList& attributs,
                  bool membres) {
    Recherche r;
    r.base = dn;
    r.filtre = "(|" + filtreComptes.toUtf8() + "(objectCategory=group))";
    r.attributs = Utf8(attributs);
    if (!attributs.contains(QStringLiteral("objectClass"), Qt::CaseInsensitive))
        r.attributs.append("objectClass");
    r.porteeMembres = membres;
    return r;
}

constexpr MesureReference kEchec{0, -1, 0, 0};

} // namespace

MesureReference LitRacineGroupe(const ConnexionReference& connexion, const QString& dnRacine,
                                const QString& filtreComptes, const QStringList& attributs, int enVol) {
    const Connexion ld = Ouvre(connexion);
    if (!ld)
        return kEchec;
    MesureReference mesure;
    Lecteur lecteur(ld.get(), mesure);
    const Recherche modele = Lecture(dnRacine.toUtf8(), filtreComptes, attributs, true);
    const auto membresDe = [&](const QByteArray& dn) {
        Recherche r = modele;
        r.base = dn;
        lecteur.ajoute(std::move(r));
    };
    QSet<QString> vus{dnRacine.toLower()};
    membresDe(modele.base);

    QElapsedTimer chrono;
    chrono.start();
    const bool reussi = lecteur.execute(enVol, [&](const Recherche&, const Entree& e) {
        if (!EstGroupe(e))
            return;
        const QString cle = QString::fromUtf8(e.dn).toLower();
        if (vus.contains(cle))
            return;
        vus.insert(cle);
        membresDe(e.dn);
    });
    mesure.ms = chrono.elapsed();
    if (!reussi)
        mesure.lignes = -1;
    return mesure;
}

MesureReference LitRacineOU(const ConnexionReference& connexion, const QString& dnOu,
                            const QString& filtreComptes, const QStringList& attributs,
                            const QStringList& attributsGroupes, bool pagine, int enVol) {
    const Connexion ld = Ouvre(connexion);
    if (!ld)
        return kEchec;
    MesureReference mesure;
    Lecteur lecteur(ld.get(), mesure);
    Recherche groupes;
    groupes.base = dnOu.toUtf8();
    groupes.portee = LDAP_SCOPE_SUBTREE;
    groupes.filtre = "(objectCategory=group)";
    groupes.attributs = Utf8(attributsGroupes) << "member";
    groupes.paginee = pagine;
    groupes.groupes = true;
    Recherche comptes = groupes;
    comptes.filtre = filtreComptes.toUtf8();
    comptes.attributs = Utf8(attributs);
    comptes.groupes = false;
    lecteur.ajoute(std::move(groupes));
    lecteur.ajoute(std::move(comptes));

    const QString suffixe = (u',' + dnOu).toLower();
    QSet<QString> vus;
    QList<QByteArray> exterieurs;
    bool plage = false;
    QElapsedTimer chrono;
    chrono.start();
    bool reussi = lecteur.execute(std::max(2, enVol), [&](const Recherche& r, const Entree& e) {
        if (!r.groupes)
            return;
        for (const Attribut& a : e.attributs) {
            // A server that hands member out by ranges would need them read to the end.
            if (a.nom.toLower().startsWith("member;")) {
                std::fprintf(stderr, "bench-reference: %s: ranged member values are not read\n",
                             e.dn.constData());
                plage = true;
            }
            if (a.nom.compare("member", Qt::CaseInsensitive) != 0)
                continue;
            for (const QByteArray& v : a.valeurs) {
                const QString cle = QString::fromUtf8(v).toLower();
                if (!cle.endsWith(suffixe) && !vus.contains(cle)) {
                    vus.insert(cle);
                    exterieurs.append(v);
                }
            }
        }
    });
    if (reussi && !plage) {
        for (const QByteArray& dn : exterieurs)
            lecteur.ajoute(Lecture(dn, filtreComptes, attributs, false));
        reussi = lecteur.execute(enVol, [](const Recherche&, const Entree&) {});
    }
    mesure.ms = chrono.elapsed();
    if (!reussi || plage)
        mesure.lignes = -1;
    return mesure;
}

} // namespace arbrix::bench
