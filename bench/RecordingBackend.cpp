#include "RecordingBackend.h"

namespace arbrix {

RecordingBackend::RecordingBackend(std::shared_ptr<Backend> inner)
    : m_inner(std::move(inner)) {}

void RecordingBackend::bind(const Credentials& credentials, const QString& server) {
    m_inner->bind(credentials, server);
}

std::unique_ptr<SearchCursor> RecordingBackend::search(const SearchRequest& request) {
    m_searches.append(request);
    return m_inner->search(request);
}

void RecordingBackend::add(const QString& dn, const QList<LdapAttribute>& attributes) {
    m_inner->add(dn, attributes);
}

void RecordingBackend::modify(const QString& dn, const QList<Modification>& modifications) {
    m_inner->modify(dn, modifications);
}

void RecordingBackend::remove(const QString& dn) {
    m_inner->remove(dn);
}

void RecordingBackend::rename(const QString& dn, const QString& newRdn, const QString& newSuperior) {
    m_inner->rename(dn, newRdn, newSuperior);
}

bool RecordingBackend::compare(const QString& dn, const QString& attribute, const QByteArray& value) {
    return m_inner->compare(dn, attribute, value);
}

} // namespace arbrix
