#include "directory/memory/MemoryBackend.h"

#include "directory/memory/Ldif.h"
#include "directory/memory/MemoryDirectory.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace arbrix {

LdifError::LdifError(QString source, int line, QString message)
    : m_source(std::move(source))
    , m_line(line)
    , m_message(std::move(message))
    , m_what(text().toStdString()) {}

QString LdifError::text() const {
    return (m_source.isEmpty() ? u"LDIF"_s : m_source) + u':' + QString::number(m_line) + u": "_s + m_message;
}

namespace {

// A search's result, handed out a page at a time.
class MemoryCursor : public SearchCursor {
public:
    MemoryCursor(std::shared_ptr<MemoryDirectory> directory, std::vector<EntryPtr> entries,
                 QStringList attributes, int pageSize, RoundTrips* counters, bool rootDse)
        : m_directory(std::move(directory))
        , m_entries(std::move(entries))
        , m_attributes(std::move(attributes))
        , m_pageSize(pageSize > 0 ? pageSize : 1000)
        , m_counters(counters)
        , m_rootDse(rootDse) {}

    bool fetchPage(QList<LdapEntry>& out) override {
        if (m_rootDse) {
            if (!m_done)
                out += m_directory->rootDse(m_attributes);
            m_done = true;
            return false;
        }
        if (m_counters)
            ++m_counters->pages;
        int taken = 0;
        while (m_position < m_entries.size() && taken < m_pageSize) {
            const EntryPtr& e = m_entries[m_position++];
            if (e->deleted)
                continue;
            out += m_directory->materialize(*e, m_attributes);
            ++taken;
        }
        return m_position < m_entries.size();
    }

private:
    std::shared_ptr<MemoryDirectory> m_directory;
    std::vector<EntryPtr> m_entries;
    QStringList m_attributes;
    int m_pageSize;
    RoundTrips* m_counters;
    bool m_rootDse;
    bool m_done = false;
    size_t m_position = 0;
};

} // namespace

MemoryBackend::MemoryBackend()
    : m_directory(std::make_shared<MemoryDirectory>()) {}

MemoryBackend::MemoryBackend(const QString& ldifPath)
    : MemoryBackend() {
    QFile file(ldifPath);
    if (!file.open(QIODevice::ReadOnly))
        throw LdifError(ldifPath, 0, u"cannot read the file: "_s + file.errorString());
    // The text goes before the entries are built: both need not be held at once.
    QList<LdifRecord> records = ParseLdif(file.readAll(), ldifPath);
    file.close();
    m_directory->load(std::move(records), ldifPath);
    m_source = ldifPath;
}

std::unique_ptr<MemoryBackend> MemoryBackend::fromText(const QByteArray& ldif, const QString& sourceName) {
    std::unique_ptr<MemoryBackend> backend(new MemoryBackend());
    backend->m_directory->load(ParseLdif(ldif, sourceName), sourceName);
    backend->m_source = sourceName;
    return backend;
}

MemoryBackend::~MemoryBackend() = default;

QString MemoryBackend::namingContext() const {
    return m_directory->namingContext();
}

qsizetype MemoryBackend::entryCount() const {
    return m_directory->size();
}

bool MemoryBackend::setReadOnly(const QString& dn, bool readOnly) {
    MemEntry* e = m_directory->find(dn);
    if (!e)
        return false;
    e->readOnly = readOnly;
    return true;
}

void MemoryBackend::bind(const Credentials& credentials, const QString& server) {
    ++m_roundTrips.binds;
    const QString dns = m_directory->dnsDomain();
    const bool knownServer = server.isEmpty() || server.compare(dns, Qt::CaseInsensitive) == 0 ||
                             server.compare(u"dc1."_s + dns, Qt::CaseInsensitive) == 0 ||
                             server.compare(m_directory->netbiosName(), Qt::CaseInsensitive) == 0 ||
                             server.compare(u"localhost"_s, Qt::CaseInsensitive) == 0;
    if (!knownServer)
        throw LdapError(LdapCode::ServerDown, u"Can't contact LDAP server ("_s + server + u")"_s);
    if (credentials.accessMode > 0)
        m_directory->authenticate(credentials.login, credentials.password);
    m_bound = true;
}

std::unique_ptr<SearchCursor> MemoryBackend::search(const SearchRequest& request) {
    const bool rootDse = request.base.isEmpty() && request.scope == SearchScope::Base;
    const bool read = request.scope == SearchScope::Base && request.scopedAttribute.isEmpty();
    if (read)
        ++m_roundTrips.reads;
    else
        ++m_roundTrips.searches;
    if (rootDse)
        return std::make_unique<MemoryCursor>(m_directory, std::vector<EntryPtr>{}, request.attributes, 1,
                                              nullptr, true);
    if (!m_bound)
        throw LdapError(
            LdapCode::OperationsError,
            u"000004DC: LdapErr: DSID-0C090A5C, comment: In order to perform this operation a successful "
            u"bind must be completed on the connection., data 0, v4563"_s);
    // Base reads count as reads, not pages.
    return std::make_unique<MemoryCursor>(m_directory, m_directory->search(request), request.attributes,
                                          request.pageSize, read ? nullptr : &m_roundTrips, false);
}

void MemoryBackend::add(const QString& dn, const QList<LdapAttribute>& attributes) {
    ++m_roundTrips.writes;
    if (!m_bound)
        throw LdapError(LdapCode::OperationsError, u"a successful bind must be completed first"_s);
    m_directory->add(dn, attributes);
}

void MemoryBackend::modify(const QString& dn, const QList<Modification>& modifications) {
    ++m_roundTrips.writes;
    if (!m_bound)
        throw LdapError(LdapCode::OperationsError, u"a successful bind must be completed first"_s);
    m_directory->modify(dn, modifications);
}

void MemoryBackend::remove(const QString& dn) {
    ++m_roundTrips.writes;
    if (!m_bound)
        throw LdapError(LdapCode::OperationsError, u"a successful bind must be completed first"_s);
    m_directory->remove(dn);
}

void MemoryBackend::rename(const QString& dn, const QString& newRdn, const QString& newSuperior) {
    ++m_roundTrips.writes;
    if (!m_bound)
        throw LdapError(LdapCode::OperationsError, u"a successful bind must be completed first"_s);
    m_directory->rename(dn, newRdn, newSuperior);
}

bool MemoryBackend::compare(const QString& dn, const QString& attribute, const QByteArray& value) {
    ++m_roundTrips.reads;
    if (!m_bound)
        throw LdapError(LdapCode::OperationsError, u"a successful bind must be completed first"_s);
    return m_directory->compare(dn, attribute, value);
}

} // namespace arbrix
