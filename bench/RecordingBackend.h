#pragma once

// A backend that passes every operation to another one and keeps the searches it was asked, so
// that the benchmark can replay the same queries with another client.

#include "directory/ForwardingBackend.h"

namespace arbrix {

class RecordingBackend : public ForwardingBackend {
public:
    using ForwardingBackend::ForwardingBackend;

    std::unique_ptr<SearchCursor> search(const SearchRequest& request) override {
        m_searches.append(request);
        return ForwardingBackend::search(request);
    }

    // The inner backend's batch, so that its searches stay concurrent; each start is recorded.
    std::unique_ptr<SearchBatch> searchBatch(int maxInFlight) override {
        class Batch : public SearchBatch {
        public:
            Batch(std::unique_ptr<SearchBatch> inner, QList<SearchRequest>& searches)
                : m_inner(std::move(inner))
                , m_searches(searches) {}
            int start(const SearchRequest& request) override {
                m_searches.append(request);
                return m_inner->start(request);
            }
            std::optional<FinishedSearch> next() override { return m_inner->next(); }
            int pending() const override { return m_inner->pending(); }
            bool concurrent() const override { return m_inner->concurrent(); }

        private:
            std::unique_ptr<SearchBatch> m_inner;
            QList<SearchRequest>& m_searches;
        };
        return std::make_unique<Batch>(inner().searchBatch(maxInFlight), m_searches);
    }

    const QList<SearchRequest>& searches() const { return m_searches; }
    void clearSearches() { m_searches.clear(); }

private:
    QList<SearchRequest> m_searches;
};

} // namespace arbrix
