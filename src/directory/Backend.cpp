#include "directory/Backend.h"

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

} // namespace arbrix
