#include "directory/Gateway.h"

#include "directory/CheckedWrite.h"
#include "directory/Dn.h"
#include "directory/Values.h"

#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace arbrix {

// ---- Recordset ----

Recordset::Recordset(std::unique_ptr<SearchCursor> cursor)
    : m_cursor(std::move(cursor))
    , m_more(true) {
    fillIfNeeded();
}

Recordset::Recordset(QList<LdapEntry> rows)
    : m_page(std::move(rows)) {}

Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

bool Recordset::Eof() const {
    return m_index >= m_page.size();
}

void Recordset::MoveNext() {
    if (Eof())
        return;
    ++m_index;
    fillIfNeeded();
}

void Recordset::fillIfNeeded() {
    while (m_index >= m_page.size() && m_more && m_cursor) {
        m_page.clear();
        m_index = 0;
        try {
            m_more = m_cursor->fetchPage(m_page);
        } catch (const LdapError& e) {
            m_more = false;
            throw queryError(e);
        }
    }
}

QVariant Recordset::Fields(QStringView name) const {
    if (Eof())
        return {};
    const LdapEntry& entry = m_page.at(m_index);
    if (const LdapAttribute* attribute = entry.find(name))
        return valeurAttribut(*attribute);
    if (name.compare(u"distinguishedName", Qt::CaseInsensitive) == 0)
        return entry.dn;
    return {};
}

const LdapEntry& Recordset::current() const {
    return m_page.at(m_index);
}

// ---- DirectoryConnection ----

DirectoryConnection::DirectoryConnection(std::shared_ptr<Backend> backend, Credentials credentials)
    : m_backend(std::move(backend))
    , m_credentials(std::move(credentials)) {}

void DirectoryConnection::Open(const QString& server) {
    try {
        m_backend->bind(m_credentials, server);
    } catch (const LdapError& e) {
        throw queryError(e);
    }
}

QString DirectoryConnection::defaultNamingContext() {
    if (!m_defaultNamingContext.isEmpty())
        return m_defaultNamingContext;
    SearchRequest request;
    request.scope = SearchScope::Base;
    request.filter = u"(objectClass=*)"_s;
    request.attributes = QStringList{u"defaultNamingContext"_s};
    QList<LdapEntry> entries;
    try {
        entries = searchAll(*m_backend, request);
    } catch (const LdapError& e) {
        throw objectError(e);
    }
    const LdapAttribute* value = entries.isEmpty() ? nullptr : entries.first().find(u"defaultNamingContext");
    if (!value || value->values.isEmpty())
        throw DirectoryError(ErrorNumber::NoSuchObject, u"The directory has no default naming context"_s);
    m_defaultNamingContext = QString::fromUtf8(value->values.first());
    return m_defaultNamingContext;
}

Recordset DirectoryConnection::Execute(const SearchRequest& request) {
    try {
        return Recordset(m_backend->search(request));
    } catch (const LdapError& e) {
        throw queryError(e);
    }
}

std::unique_ptr<DirectoryObject> DirectoryConnection::Bind(const QString& path) {
    const std::optional<CheminLdap> chemin = AnalyseCheminLdap(path);
    if (!chemin)
        throw DirectoryError(ErrorNumber::BadPathName, u"Invalid directory path: "_s + path);
    QString server = chemin->serveur;
    server.replace(u"''"_s, u"'"_s);
    SearchRequest request;
    request.scope = SearchScope::Base;
    request.filter = u"(objectClass=*)"_s;
    if (!chemin->rootDse) {
        // A server alone names its domain.
        request.base = chemin->dn.isEmpty() ? defaultNamingContext() : chemin->dn;
        request.attributes = QStringList{u"*"_s, u"msDS-User-Account-Control-Computed"_s};
    }
    QList<LdapEntry> entries;
    try {
        entries = searchAll(*m_backend, request);
    } catch (const LdapError& e) {
        throw objectError(e);
    }
    if (entries.isEmpty())
        throw DirectoryError(ErrorNumber::NoSuchObject, u"There is no such object on the server: "_s + path);
    return std::make_unique<DirectoryObject>(*this, server, entries.first());
}

// ---- DirectoryObject ----

DirectoryObject::DirectoryObject(DirectoryConnection& connection, QString server, LdapEntry entry)
    : m_connection(connection)
    , m_server(std::move(server))
    , m_entry(std::move(entry)) {}

QString DirectoryObject::Name() const {
    return DnRdn(m_entry.dn);
}

QString DirectoryObject::Parent() const {
    return ComposeCheminLdap(m_server, DnParent(m_entry.dn));
}

QString DirectoryObject::ADsPath() const {
    if (m_entry.dn.isEmpty())
        return ComposeCheminLdap(m_server, u"RootDSE"_s);
    return ComposeCheminLdap(m_server, m_entry.dn);
}

QVariant DirectoryObject::Get(QStringView attribute) const {
    if (const LdapAttribute* a = m_entry.find(attribute))
        return valeurAttribut(*a);
    if (attribute.compare(u"distinguishedName", Qt::CaseInsensitive) == 0 && !m_entry.dn.isEmpty())
        return m_entry.dn;
    return {};
}

QVariant DirectoryObject::GetEx(QStringView attribute) const {
    const LdapAttribute* a = m_entry.find(attribute);
    if (!a || a->values.isEmpty())
        return {};
    QStringList values;
    for (const QByteArray& v : a->values)
        values += QString::fromUtf8(v);
    return values;
}

void DirectoryObject::Put(const QString& attribute, const QVariant& value) {
    const QList<QByteArray> values = octetsValeur(value);
    for (Modification& m : m_pending) {
        if (m.attribute.compare(attribute, Qt::CaseInsensitive) == 0) {
            m.values = values;
            return;
        }
    }
    m_pending += Modification{ModOp::Replace, attribute, values};
}

void DirectoryObject::SetInfo() {
    Backend& backend = m_connection.backend();
    try {
        if (m_pendingCreate) {
            QList<LdapAttribute> attributes = m_entry.attributes;
            for (const Modification& m : std::as_const(m_pending)) {
                if (!m.values.isEmpty())
                    attributes += LdapAttribute{m.attribute, m.values};
            }
            writeChecked(backend, {Write::Kind::Add, m_entry.dn, attributes, {}, {}, {}});
            m_pendingCreate = false;
        } else if (!m_pending.isEmpty()) {
            writeChecked(backend, {Write::Kind::Modify, m_entry.dn, {}, m_pending, {}, {}});
        }
        m_pending.clear();
        SearchRequest request;
        request.base = m_entry.dn;
        request.scope = SearchScope::Base;
        request.filter = u"(objectClass=*)"_s;
        request.attributes = QStringList{u"*"_s, u"msDS-User-Account-Control-Computed"_s};
        const QList<LdapEntry> entries = searchAll(backend, request);
        if (!entries.isEmpty())
            m_entry = entries.first();
    } catch (const LdapError& e) {
        throw objectError(e);
    }
}

static Rdn rdnOrThrow(const QString& rdn) {
    const std::optional<Rdn> parsed = RdnDepuisSaisie(rdn);
    if (!parsed)
        throw objectError(LdapError(LdapCode::InvalidDnSyntax, u"Invalid relative name: "_s + rdn));
    return *parsed;
}

static QString dnFromPath(const QString& path) {
    const std::optional<CheminLdap> chemin = AnalyseCheminLdap(path);
    if (!chemin || chemin->rootDse || chemin->dn.isEmpty())
        throw DirectoryError(ErrorNumber::BadPathName, u"Invalid directory path: "_s + path);
    return chemin->dn;
}

std::unique_ptr<DirectoryObject> DirectoryObject::Create(const QString& className, const QString& rdn) {
    const Rdn parsed = rdnOrThrow(rdn);
    LdapEntry entry;
    entry.dn = parsed.text + u',' + m_entry.dn;
    entry.attributes += LdapAttribute{u"objectClass"_s, {className.toUtf8()}};
    auto object = std::make_unique<DirectoryObject>(m_connection, m_server, entry);
    object->m_pendingCreate = true;
    return object;
}

void DirectoryObject::Delete(const QString& className, const QString& rdn) {
    Q_UNUSED(className)
    const Rdn parsed = rdnOrThrow(rdn);
    try {
        writeChecked(m_connection.backend(),
                     {Write::Kind::Remove, parsed.text + u',' + m_entry.dn, {}, {}, {}, {}});
    } catch (const LdapError& e) {
        throw objectError(e);
    }
}

std::unique_ptr<DirectoryObject> DirectoryObject::MoveHere(const QString& path, const QString& newRdn) {
    const QString source = dnFromPath(path);
    const Rdn rdn = rdnOrThrow(newRdn.isEmpty() ? DnRdn(source) : newRdn);
    const bool sameContainer = DnEgaux(DnParent(source), m_entry.dn);
    try {
        writeChecked(m_connection.backend(),
                     {Write::Kind::Rename, source, {}, {}, rdn.text, sameContainer ? QString() : m_entry.dn});
    } catch (const LdapError& e) {
        throw objectError(e);
    }
    return m_connection.Bind(ComposeCheminLdap(m_server, rdn.text + u',' + m_entry.dn));
}

bool DirectoryObject::IsMember(const QString& path) {
    const QString member = dnFromPath(path);
    try {
        return m_connection.backend().compare(m_entry.dn, u"member"_s, member.toUtf8());
    } catch (const LdapError& e) {
        if (e.code() == LdapCode::NoSuchAttribute) // a group without members
            return false;
        throw objectError(e);
    }
}

void DirectoryObject::Add(const QString& path) {
    const QString member = dnFromPath(path);
    try {
        writeChecked(m_connection.backend(), {Write::Kind::Modify,
                                              m_entry.dn,
                                              {},
                                              {Modification{ModOp::Add, u"member"_s, {member.toUtf8()}}},
                                              {},
                                              {}});
    } catch (const LdapError& e) {
        throw objectError(e);
    }
}

void DirectoryObject::Remove(const QString& path) {
    const QString member = dnFromPath(path);
    try {
        writeChecked(m_connection.backend(), {Write::Kind::Modify,
                                              m_entry.dn,
                                              {},
                                              {Modification{ModOp::Delete, u"member"_s, {member.toUtf8()}}},
                                              {},
                                              {}});
    } catch (const LdapError& e) {
        throw objectError(e);
    }
}

QDateTime DirectoryObject::AccountExpirationDate() const {
    const LdapAttribute* a = m_entry.find(u"accountExpires");
    const qint64 filetime = a && !a->values.isEmpty() ? a->values.first().trimmed().toLongLong() : 0;
    return DateDepuisFiletime(filetime);
}

bool DirectoryObject::IsAccountLocked() const {
    if (const LdapAttribute* computed = m_entry.find(u"msDS-User-Account-Control-Computed")) {
        if (!computed->values.isEmpty())
            return (computed->values.first().trimmed().toLongLong() & 0x10) != 0;
    }
    const LdapAttribute* lockout = m_entry.find(u"lockoutTime");
    return lockout && !lockout->values.isEmpty() && lockout->values.first().trimmed().toLongLong() > 0;
}

} // namespace arbrix
