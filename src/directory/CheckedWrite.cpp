#include "directory/CheckedWrite.h"

#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "text/Journal.h"

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

// Whether the object exists; NoSuchObject is the answer "no", not a failure.
bool exists(Backend& backend, const QString& dn) {
    try {
        return !searchAll(backend, {dn, SearchScope::Base, u"(objectClass=*)"_s, {u"1.1"_s}}).isEmpty();
    } catch (const LdapError& e) {
        if (e.code() == LdapCode::NoSuchObject)
            return false;
        throw;
    }
}

bool hasAttribute(Backend& backend, const QString& dn, const QString& attribute) {
    return !searchAll(backend, {dn, SearchScope::Base, u"("_s + attribute + u"=*)"_s, {u"1.1"_s}}).isEmpty();
}

// Each value compared by the server, with the attribute's own matching rule.
bool holdsValues(Backend& backend, const QString& dn, const Modification& m, bool wanted) {
    for (const QByteArray& value : m.values) {
        if (backend.compare(dn, m.attribute, value) != wanted)
            return false;
    }
    return true;
}

bool holdsModification(Backend& backend, const QString& dn, const Modification& m) {
    switch (m.op) {
    case ModOp::Add:
        return holdsValues(backend, dn, m, true);
    case ModOp::Delete:
        return m.values.isEmpty() ? !hasAttribute(backend, dn, m.attribute)
                                  : holdsValues(backend, dn, m, false);
    case ModOp::Replace:
        return m.values.isEmpty() ? !hasAttribute(backend, dn, m.attribute)
                                  : holdsValues(backend, dn, m, true);
    }
    return false;
}

bool holds(Backend& backend, const Write& write) {
    switch (write.kind) {
    case Write::Kind::Add:
        return exists(backend, write.dn);
    case Write::Kind::Remove:
        return !exists(backend, write.dn);
    case Write::Kind::Rename:
        return exists(backend, write.newRdn + u',' +
                                   (write.newSuperior.isEmpty() ? DnParent(write.dn) : write.newSuperior));
    case Write::Kind::Modify:
        if (!exists(backend, write.dn))
            return false;
        for (const Modification& m : write.modifications) {
            if (!holdsModification(backend, write.dn, m))
                return false;
        }
        return true;
    }
    return false;
}

void send(Backend& backend, const Write& write) {
    switch (write.kind) {
    case Write::Kind::Add:
        return backend.add(write.dn, write.attributes);
    case Write::Kind::Modify:
        return backend.modify(write.dn, write.modifications);
    case Write::Kind::Remove:
        return backend.remove(write.dn);
    case Write::Kind::Rename:
        return backend.rename(write.dn, write.newRdn, write.newSuperior);
    }
}

} // namespace

Held readBack(Backend& backend, const Write& write) {
    try {
        return holds(backend, write) ? Held::Yes : Held::No;
    } catch (const LdapError& e) {
        qCInfo(lcOperations).noquote() << "read back of" << write.dn << "failed:" << e.code() << e.message();
        return Held::Unknown;
    }
}

bool answerLost(int ldapCode) {
    return ldapCode == LdapCode::Timeout || ldapCode == LdapCode::ServerDown ||
           ldapCode == LdapCode::UserCancelled;
}

void writeChecked(Backend& backend, const Write& write) {
    try {
        send(backend, write);
    } catch (const LdapError& e) {
        if (!answerLost(e.code()))
            throw;
        const Held held = readBack(backend, write);
        qCInfo(lcOperations).noquote() << "answer lost for" << write.dn << "- read back:"
                                       << (held == Held::Yes  ? "made"
                                           : held == Held::No ? "not made"
                                                              : "unknown");
        if (held == Held::Yes)
            return;
        if (held == Held::No)
            throw LdapError(LdapCode::ChangeNotMade, e.message());
        throw;
    }
}

} // namespace arbrix
