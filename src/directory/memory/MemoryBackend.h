#pragma once

// The embedded directory: an LDIF file loaded into memory, answering as an Active Directory
// domain controller does for the operations the program uses. Changes stay in memory; the file
// is never written.
//
// LDIF conventions beyond the standard format:
// - A comment line "# arbrix: read-only" inside an entry's record (or right before its "dn:"
//   line, in the same paragraph) marks the entry read-only: changing, renaming or deleting it,
//   and creating or deleting objects inside it, fail with insufficientAccessRights, as they do
//   for an account without rights on it.
// - "unicodePwd" (base64 of the quoted password in UTF-16LE, as a domain controller takes it)
//   sets an account's password for binds with a login; it is never returned by searches. An
//   account without one accepts any non-empty password.
// - Missing domain objects are made as a domain controller provisions them: the domain root,
//   CN=Users, CN=Computers, CN=Builtin, OU=Domain Controllers, and the groups Domain Admins,
//   Domain Users and Domain Computers with the account Administrator.

#include "directory/Backend.h"

#include <QByteArray>
#include <QString>

#include <exception>
#include <memory>
#include <string>

namespace arbrix {

// A file that cannot be loaded: the line (1-based) and what is wrong there.
class LdifError : public std::exception {
public:
    LdifError(QString source, int line, QString message);
    const QString& source() const noexcept { return m_source; }
    int line() const noexcept { return m_line; }
    const QString& message() const noexcept { return m_message; }
    // "file:line: message"
    QString text() const;
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    QString m_source;
    int m_line;
    QString m_message;
    std::string m_what;
};

class MemoryDirectory;

class MemoryBackend : public Backend {
public:
    // Loads an LDIF file. Raises LdifError (nothing is loaded then).
    explicit MemoryBackend(const QString& ldifPath);
    // Loads LDIF text; sourceName names it in errors. Raises LdifError.
    static std::unique_ptr<MemoryBackend> fromText(const QByteArray& ldif, const QString& sourceName = {});
    ~MemoryBackend() override;

    void bind(const Credentials& credentials, const QString& server) override;
    std::unique_ptr<SearchCursor> search(const SearchRequest& request) override;
    void add(const QString& dn, const QList<LdapAttribute>& attributes) override;
    void modify(const QString& dn, const QList<Modification>& modifications) override;
    void remove(const QString& dn) override;
    void rename(const QString& dn, const QString& newRdn, const QString& newSuperior) override;
    bool compare(const QString& dn, const QString& attribute, const QByteArray& value) override;
    // The file the directory was loaded from (the source name of text).
    QString address() const override { return m_source; }

    // The naming context of the loaded domain ("DC=example,DC=test").
    QString namingContext() const;
    // Number of entries held (the RootDSE excluded).
    qsizetype entryCount() const;
    // Marks an entry read-only (or writable again); false when there is no such entry.
    bool setReadOnly(const QString& dn, bool readOnly);

private:
    MemoryBackend();
    std::shared_ptr<MemoryDirectory> m_directory;
    QString m_source;
    bool m_bound = false;
};

} // namespace arbrix
