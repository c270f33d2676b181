#pragma once

// The directory gateway: the query connection, recordsets and bound objects the rest of the
// program uses, in the shape of the Windows directory interfaces it was designed against, over
// any Backend. Searches are given typed (SearchRequest, filters built with directory/Query.h);
// objects are bound by their "LDAP://" paths. Failures raise DirectoryError with the numbers of
// directory/DirectoryError.h.

#include "directory/Backend.h"

#include <QDateTime>
#include <QHash>
#include <QVariant>

#include <memory>

namespace arbrix {

class DirectoryObject;

// The rows of one query, fetched page by page as the caller advances.
// Field values: an invalid (null) QVariant when the attribute is absent; QStringList for a
// multi-valued attribute ("memberOf", "objectClass", "member", ...), even with one value;
// int for "groupType" and "userAccountControl" (and other 32-bit integer attributes);
// qlonglong for 64-bit integers ("accountExpires"); QByteArray for binary ones ("objectSid");
// QString otherwise.
class Recordset {
public:
    Recordset() = default;
    explicit Recordset(std::unique_ptr<SearchCursor> cursor);
    // The rows of a search already read.
    explicit Recordset(QList<LdapEntry> rows);
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    bool Eof() const;
    void MoveNext(); // raises DirectoryError when the next page fails
    // The column of that name in the current row, without regard to case.
    QVariant Fields(QStringView name) const;
    const LdapEntry& current() const;

private:
    void fillIfNeeded();
    std::unique_ptr<SearchCursor> m_cursor;
    QList<LdapEntry> m_page;
    qsizetype m_index = 0;
    bool m_more = false;
};

// The shared query connection ("ConnexionAD") and the factory of bound objects.
class DirectoryConnection {
public:
    DirectoryConnection(std::shared_ptr<Backend> backend, Credentials credentials);

    // Authenticates once. Raises DirectoryError.
    void Open(const QString& server = {});

    // Runs a search (base DN as it is, filter values escaped by the caller).
    // Raises DirectoryError (query numbers).
    Recordset Execute(const SearchRequest& request);

    // Binds an object by its "LDAP://" path (server part and "\/" escapes allowed), reading
    // it once. "LDAP://RootDSE" and "LDAP://server/RootDSE" bind the RootDSE.
    // Raises DirectoryError (object numbers) when the object cannot be read.
    std::unique_ptr<DirectoryObject> Bind(const QString& path);

    Backend& backend() { return *m_backend; }
    const Backend& backend() const { return *m_backend; }
    const Credentials& credentials() const { return m_credentials; }

    // The "defaultNamingContext" of the RootDSE, read once. Raises DirectoryError.
    QString defaultNamingContext();

private:
    std::shared_ptr<Backend> m_backend;
    Credentials m_credentials;
    QString m_defaultNamingContext;
};

// An object bound by its path: reads, pending changes stored by SetInfo, container, group and
// account operations. Object operations raise DirectoryError (object numbers).
class DirectoryObject {
public:
    DirectoryObject(DirectoryConnection& connection, QString server, LdapEntry entry);

    QString Name() const;    // the RDN with its type: "CN=Sales" (escapes kept as in the DN)
    QString Parent() const;  // "LDAP://" path of the container, server part kept
    QString ADsPath() const; // "LDAP://" path of this object
    const QString& dn() const { return m_entry.dn; }

    // One value (or a QStringList for a multi-valued attribute); null when absent.
    QVariant Get(QStringView attribute) const;
    // Every value as a QStringList; null when absent.
    QVariant GetEx(QStringView attribute) const;
    // Records a value to store; a QStringList sets several values.
    void Put(const QString& attribute, const QVariant& value);
    // Stores the pending values: an add for an object made by Create, else one modify.
    void SetInfo();

    // Container operations. className: "group"; rdn: "CN=name".
    std::unique_ptr<DirectoryObject> Create(const QString& className, const QString& rdn);
    void Delete(const QString& className, const QString& rdn);
    // Moves (or renames, when the object is already in this container) the object at path
    // here under newRdn ("CN=new name"; empty keeps its RDN). Returns the moved object.
    std::unique_ptr<DirectoryObject> MoveHere(const QString& path, const QString& newRdn);

    // Group operations; paths are "LDAP://" paths of the members.
    bool IsMember(const QString& path);
    void Add(const QString& path);
    void Remove(const QString& path);

    // Account state: "accountExpires" as a local date-time, 1970-01-01 00:00 when it means
    // never (0 and 9223372036854775807, or absent), as the Windows interface answers; and the
    // lock-out bit 0x10 of "msDS-User-Account-Control-Computed".
    QDateTime AccountExpirationDate() const;
    bool IsAccountLocked() const;

private:
    DirectoryConnection& m_connection;
    QString m_server;
    LdapEntry m_entry;
    bool m_pendingCreate = false;
    QList<Modification> m_pending;
};

} // namespace arbrix
