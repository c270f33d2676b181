#pragma once

// A backend that passes every operation to another one and keeps the searches it was asked, so
// that the benchmark can replay the same queries with another client.

#include "directory/Backend.h"

#include <memory>

namespace arbrix {

class RecordingBackend : public Backend {
public:
    explicit RecordingBackend(std::shared_ptr<Backend> inner);

    void bind(const Credentials& credentials, const QString& server) override;
    std::unique_ptr<SearchCursor> search(const SearchRequest& request) override;
    void add(const QString& dn, const QList<LdapAttribute>& attributes) override;
    void modify(const QString& dn, const QList<Modification>& modifications) override;
    void remove(const QString& dn) override;
    void rename(const QString& dn, const QString& newRdn, const QString& newSuperior) override;
    bool compare(const QString& dn, const QString& attribute, const QByteArray& value) override;

    Backend& inner() { return *m_inner; }
    const QList<SearchRequest>& searches() const { return m_searches; }
    void clearSearches() { m_searches.clear(); }

private:
    std::shared_ptr<Backend> m_inner;
    QList<SearchRequest> m_searches;
};

} // namespace arbrix
