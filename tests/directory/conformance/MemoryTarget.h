#pragma once

// The embedded directory loaded from the sample domain, as a conformance target.

#include "directory/conformance/Target.h"
#include "directory/memory/MemoryBackend.h"

namespace arbrix::conformance {

class MemoryTarget : public Target {
public:
    std::shared_ptr<Backend> backend() override { return load(); }
    Credentials credentials() override { return {}; }
    std::shared_ptr<Backend> restrictedBackend(const QStringList& readOnlyDns,
                                               Credentials& credentials) override {
        auto backend = load();
        for (const QString& dn : readOnlyDns)
            backend->setReadOnly(dn, true);
        credentials = {};
        return backend;
    }

    bool restrictsSingleEntries() const override { return true; }

private:
    // One directory per target: a test's changes never reach the next test.
    std::shared_ptr<MemoryBackend> load() {
        if (!m_backend)
            m_backend =
                std::make_shared<MemoryBackend>(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif"));
        return m_backend;
    }
    std::shared_ptr<MemoryBackend> m_backend;
};

inline std::unique_ptr<Target> makeMemoryTarget() {
    return std::make_unique<MemoryTarget>();
}

} // namespace arbrix::conformance
