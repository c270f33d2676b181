#include "directory/Backend.h"

#include <deque>

namespace arbrix {

const LdapAttribute* LdapEntry::find(QStringView name) const {
    for (const LdapAttribute& a : attributes) {
        if (a.name.compare(name, Qt::CaseInsensitive) == 0)
            return &a;
    }
    return nullptr;
}

QList<LdapEntry> searchAll(Backend& backend, const SearchRequest& request) {
    QList<LdapEntry> entries;
    auto cursor = backend.search(request);
    while (cursor->fetchPage(entries)) {
    }
    return entries;
}

namespace {

// Answers each search when it is started: for stores with no network latency to hide.
class SequentialBatch : public SearchBatch {
public:
    explicit SequentialBatch(Backend& backend)
        : m_backend(backend) {}

    int start(const SearchRequest& request) override {
        FinishedSearch done;
        done.ticket = m_nextTicket++;
        try {
            done.entries = searchAll(m_backend, request);
        } catch (const LdapError& e) {
            if (e.code() == LdapCode::UserCancelled || e.code() == LdapCode::ServerDown ||
                e.code() == LdapCode::Timeout)
                throw;
            done.error = e;
        }
        m_done.push_back(std::move(done));
        return m_done.back().ticket;
    }

    std::optional<FinishedSearch> next() override {
        if (m_done.empty())
            return std::nullopt;
        FinishedSearch done = std::move(m_done.front());
        m_done.pop_front();
        return done;
    }

    int pending() const override { return int(m_done.size()); }

private:
    Backend& m_backend;
    std::deque<FinishedSearch> m_done;
    int m_nextTicket = 0;
};

} // namespace

std::unique_ptr<SearchBatch> Backend::searchBatch(int) {
    return std::make_unique<SequentialBatch>(*this);
}

} // namespace arbrix
