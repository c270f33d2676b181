#pragma once

#include "directory/Backend.h"

#include <memory>

namespace arbrix {

// Hands every operation to another backend. Tools and tests derive from it to watch or alter a
// few operations; the round trips are counted by the inner backend. A batch goes to the inner
// backend whole, past this one's search(): a subclass that watches searches keeps them in view by
// answering searchBatch() with Backend::searchBatch(), which runs each through search().
class ForwardingBackend : public Backend {
public:
    explicit ForwardingBackend(std::shared_ptr<Backend> inner)
        : m_inner(std::move(inner)) {}

    void bind(const Credentials& credentials, const QString& server) override {
        m_inner->bind(credentials, server);
    }
    std::unique_ptr<SearchCursor> search(const SearchRequest& request) override {
        return m_inner->search(request);
    }
    std::unique_ptr<SearchBatch> searchBatch(int maxInFlight) override {
        return m_inner->searchBatch(maxInFlight);
    }
    void add(const QString& dn, const QList<LdapAttribute>& attributes) override {
        m_inner->add(dn, attributes);
    }
    void modify(const QString& dn, const QList<Modification>& modifications) override {
        m_inner->modify(dn, modifications);
    }
    void remove(const QString& dn) override { m_inner->remove(dn); }
    void rename(const QString& dn, const QString& newRdn, const QString& newSuperior) override {
        m_inner->rename(dn, newRdn, newSuperior);
    }
    bool compare(const QString& dn, const QString& attribute, const QByteArray& value) override {
        return m_inner->compare(dn, attribute, value);
    }
    QString address() const override { return m_inner->address(); }

    void setPatience(Patience patience) override { m_inner->setPatience(std::move(patience)); }

    Backend& inner() { return *m_inner; }

private:
    std::shared_ptr<Backend> m_inner;
};

} // namespace arbrix
