// The conformance suite against the embedded directory loaded from the sample domain.

#include "directory/conformance/Conformance.h"
#include "directory/memory/MemoryBackend.h"

namespace {

using namespace arbrix;
using namespace Qt::StringLiterals;

class MemoryTarget : public conformance::Target {
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

std::unique_ptr<conformance::Target> makeMemoryTarget() {
    return std::make_unique<MemoryTarget>();
}

} // namespace

namespace arbrix::conformance {
INSTANTIATE_TEST_SUITE_P(Memory, DirectoryConformance, ::testing::Values(&makeMemoryTarget));
}
