#pragma once

// Owners of what libldap allocates, so that every early return and exception frees it.

#include <ldap.h>

#include <memory>

namespace arbrix::ldapraii {

struct UnbindLdap {
    void operator()(LDAP* ld) const { ldap_unbind_ext_s(ld, nullptr, nullptr); }
};
struct FreeMessage {
    void operator()(LDAPMessage* message) const { ldap_msgfree(message); }
};
struct FreeMemory {
    void operator()(void* memory) const { ldap_memfree(memory); }
};
struct FreeBer {
    void operator()(BerElement* ber) const { ber_free(ber, 0); }
};
struct FreeValues {
    void operator()(berval** values) const { ldap_value_free_len(values); }
};
struct FreeControl {
    void operator()(LDAPControl* control) const { ldap_control_free(control); }
};
struct FreeControls {
    void operator()(LDAPControl** controls) const { ldap_controls_free(controls); }
};
struct FreeBerval {
    void operator()(berval* value) const { ber_bvfree(value); }
};
struct FreeStrings {
    void operator()(char** strings) const { ber_memvfree(reinterpret_cast<void**>(strings)); }
};

using Ldap = std::unique_ptr<LDAP, UnbindLdap>;
using Message = std::unique_ptr<LDAPMessage, FreeMessage>;
using Memory = std::unique_ptr<char, FreeMemory>;
using Ber = std::unique_ptr<BerElement, FreeBer>;
using Values = std::unique_ptr<berval*, FreeValues>;
using Control = std::unique_ptr<LDAPControl, FreeControl>;
using Controls = std::unique_ptr<LDAPControl*, FreeControls>;
using Berval = std::unique_ptr<berval, FreeBerval>;
using Strings = std::unique_ptr<char*, FreeStrings>;

} // namespace arbrix::ldapraii
