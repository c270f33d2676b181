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

    const QList<SearchRequest>& searches() const { return m_searches; }
    void clearSearches() { m_searches.clear(); }

private:
    QList<SearchRequest> m_searches;
};

} // namespace arbrix
