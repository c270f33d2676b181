#!/usr/bin/env bash
# A throwaway Samba AD domain controller for the directory tests.
#
#   tools/test-dc.sh start [ENV_FILE]   provision, start and load data/sample-domain.ldif
#   tools/test-dc.sh stop  [ENV_FILE]   stop the controller and remove everything it made
#   tools/test-dc.sh env   [ENV_FILE]   print the settings as shell exports
#   tools/test-dc.sh restart [ENV_FILE] [no-tls|sasl-over-tls]
#                                       start the controller again after a test killed it; with
#                                       no-tls, as a server without TLS (clear-text simple binds
#                                       accepted); with sasl-over-tls, taking Kerberos binds over
#                                       TLS (Samba 4.17 refuses them by default); until the next
#                                       restart without either
#
# ENV_FILE (default: $ARBRIX_TEST_DC_ENV, else /tmp/arbrix-test-dc.env) receives KEY=VALUE lines
# that the tests read. When this machine cannot run a controller (not root, Samba missing, no
# loopback address to take), start still succeeds and writes ARBRIX_TEST_DC_SKIP with the reason,
# so that the tests report a skip instead of failing.
#
# Each controller gets a loopback address of its own (127.0.0.2 and up, the first one free), its
# own folder under /tmp and its own pid folder, so several can run at once. It runs as Samba ships
# (prefork process model, simple binds over TLS only); its processes are one process group, which
# the fault tests stop and kill as a whole. Its name
# dc<N>.arbrixdc.test goes into /etc/hosts for Kerberos; the certificate names both the name
# and the address, so TLS can be verified either way.
set -eEuo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_ldif="${ARBRIX_TEST_DC_LDIF:-$here/../data/sample-domain.ldif}"
realm="ARBRIXDC.TEST"
dns_domain="arbrixdc.test"
workgroup="ARBRIXDC"
base_dn="DC=arbrixdc,DC=test"
hosts_marker="# arbrix-test-dc"
start_timeout=30

log() { echo "test-dc: $*" >&2; }

env_file_of() { echo "${1:-${ARBRIX_TEST_DC_ENV:-/tmp/arbrix-test-dc.env}}"; }

# Value of KEY in an env file, empty when absent.
env_value() {
    local file="$1" key="$2"
    [ -f "$file" ] || return 0
    sed -n "s/^${key}=//p" "$file" | head -n1
}

write_skip() {
    local file="$1" reason="$2"
    log "no domain controller: $reason"
    mkdir -p "$(dirname "$file")"
    printf 'ARBRIX_TEST_DC_SKIP=%s\n' "$reason" >"$file"
}

# The reason this machine cannot run a controller, or nothing.
missing_prerequisite() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "the test domain controller needs root (Samba binds to ports 88, 389 and 636)"
        return
    fi
    local tool
    for tool in samba samba-tool ldapmodify ldapsearch ip openssl iconv python3; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$tool is not installed (tools/install-deps.sh installs samba, ldap-utils, iproute2)"
            return
        fi
    done
}

# Takes the first free 127.0.0.N (N >= 2): adding an address that lo already holds fails, which
# makes the choice safe against a controller starting at the same time.
take_address() {
    local n err=""
    for n in $(seq 2 254); do
        if ip -4 addr show dev lo | grep -q "inet 127\.0\.0\.$n/"; then
            continue
        fi
        if err=$(ip addr add "127.0.0.$n/32" dev lo 2>&1); then
            echo "$n"
            return 0
        fi
        case "$err" in
        # Taken by a controller starting at the same time; iproute2 words it either way.
        *"File exists"* | *"already assigned"*) continue ;;
        *) log "ip addr add: $err"; return 1 ;;
        esac
    done
    return 1
}

random_password() {
    # Meets the domain's complexity rules: upper and lower case, digits and a symbol.
    echo "Dc-$(od -An -N8 -tx1 /dev/urandom | tr -d ' \n')-Az9!"
}

make_certificates() {
    local dir="$1" address="$2" fqdn="$3"
    mkdir -p "$dir"
    openssl req -x509 -newkey rsa:2048 -nodes -days 7 -subj "/CN=Arbrix test CA" \
        -keyout "$dir/ca-key.pem" -out "$dir/ca.pem" 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$fqdn" \
        -keyout "$dir/key.pem" -out "$dir/server.csr" 2>/dev/null
    printf 'subjectAltName=DNS:%s,IP:%s\nextendedKeyUsage=serverAuth\n' "$fqdn" "$address" >"$dir/ext.cnf"
    openssl x509 -req -in "$dir/server.csr" -CA "$dir/ca.pem" -CAkey "$dir/ca-key.pem" \
        -CAcreateserial -days 7 -extfile "$dir/ext.cnf" -out "$dir/cert.pem" 2>/dev/null
    chmod 600 "$dir/key.pem" "$dir/ca-key.pem"
}

write_krb5_conf() {
    local file="$1" address="$2"
    cat >"$file" <<EOF
[libdefaults]
	default_realm = $realm
	dns_lookup_realm = false
	dns_lookup_kdc = false
	rdns = false
	dns_canonicalize_hostname = false

[realms]
	$realm = {
		kdc = $address
	}

[domain_realm]
	.$dns_domain = $realm
	$dns_domain = $realm
EOF
}

# The alias is a name the certificate does not hold, for the tests of refused certificates.
add_hosts_entry() {
    local address="$1" fqdn="$2" alias="$3"
    { printf '%s %s %s %s %s\n' "$address" "$fqdn" "$alias" "$hosts_marker" "$fqdn" >>/etc/hosts; } 2>/dev/null
}

remove_hosts_entry() {
    local fqdn="$1" tmp
    grep -qF "$hosts_marker $fqdn" /etc/hosts 2>/dev/null || return 0
    tmp=$(grep -vF "$hosts_marker $fqdn" /etc/hosts || true)
    # Rewritten in place: /etc/hosts may be a mount point that cannot be replaced.
    printf '%s\n' "$tmp" >/etc/hosts
}

# After a failed start the controller's folder is removed, so its logs are shown here, where
# CTest's output keeps them.
show_logs() {
    local dir="$1" f
    log "start failed; the last lines of its logs follow"
    for f in "$dir"/provision.log "$dir"/samba.out "$dir"/samba.log "$dir"/load.log; do
        [ -s "$f" ] || continue
        echo "---- ${f##*/} (last 25 lines)" >&2
        tail -n 25 "$f" >&2
    done
}

wait_until_answering() {
    local uri="$1" pid="$2" deadline=$((SECONDS + start_timeout))
    while [ $SECONDS -lt $deadline ]; do
        if ! kill -0 "$pid" 2>/dev/null; then
            return 1
        fi
        if ldapsearch -x -H "$uri" -o nettimeout=1 -b "" -s base defaultNamingContext >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Simple binds go over TLS only: StartTLS on ldap://, required (-ZZ).
ldap_admin() {
    local tool="$1" uri="$2" tls=()
    shift 2
    [[ "$uri" == ldap://* ]] && tls=(-ZZ)
    LDAPTLS_CACERT="$tls_ca" "$tool" -x "${tls[@]}" -H "$uri" -D "$admin_dn" -w "$admin_password" "$@"
}

start_samba() {
    local dir="$1"
    setsid samba -s "$dir/etc/smb.conf" -i </dev/null >>"$dir/samba.out" 2>&1 &
    echo $!
}

# Ends the controller's whole process group (the prefork master and its workers).
kill_samba() {
    local pid="$1" i
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 0
    kill -CONT -- "-$pid" 2>/dev/null || true
    kill -TERM -- "-$pid" 2>/dev/null || true
    for i in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL -- "-$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
}

unicode_pwd() { printf '"%s"' "$1" | iconv -f utf-8 -t utf-16le | base64 -w0; }

load_domain() {
    local dir="$1" uri="$2" ldaps_uri="$3" fqdn="$4" host="$5"
    python3 "$here/test-dc-ldif.py" "$source_ldif" "$base_dn" "$dir/adds.ldif" "$dir/links.ldif" 2>>"$dir/load.log"
    # Over TLS: Samba 4.22 refuses a group managed service account (the sample has one) added in
    # clear.
    LDAPTLS_CACERT="$dir/tls/ca.pem" ldap_admin ldapmodify "$ldaps_uri" -f "$dir/adds.ldif" >>"$dir/load.log" 2>&1
    ldap_admin ldapmodify "$uri" -f "$dir/links.ldif" >>"$dir/load.log" 2>&1
    # The controller's own LDAP service name, which provisioning without DNS updates leaves out.
    ldap_admin ldapmodify "$uri" >>"$dir/load.log" 2>&1 <<EOF
dn: CN=${host^^},OU=Domain Controllers,$base_dn
changetype: modify
add: servicePrincipalName
servicePrincipalName: ldap/$fqdn
servicePrincipalName: ldap/$fqdn/$dns_domain
servicePrincipalName: ldap/${host^^}
EOF
    # An ordinary domain user for the rights tests; passwords are set over TLS only.
    ldap_admin ldapmodify "$ldaps_uri" >>"$dir/load.log" 2>&1 <<EOF
dn: $user_dn
changetype: add
objectClass: user
sAMAccountName: $user_login
userPrincipalName: $user_login@$dns_domain
displayName: Lecteur des tests
userAccountControl: 512
unicodePwd:: $(unicode_pwd "$user_password")
EOF
}

start() {
    local env_file reason
    env_file=$(env_file_of "${1:-}")
    if [ -n "$(env_value "$env_file" ARBRIX_TEST_DC_DIR)" ]; then
        log "a controller from $env_file is still recorded: stopping it first"
        stop "$env_file"
    fi
    reason=$(missing_prerequisite)
    if [ -n "$reason" ]; then
        write_skip "$env_file" "$reason"
        return 0
    fi
    local n
    if ! n=$(take_address); then
        write_skip "$env_file" "no free loopback address could be added to lo (ip addr add needs CAP_NET_ADMIN)"
        return 0
    fi
    local address="127.0.0.$n" host="dc$n" dir
    local fqdn="$host.$dns_domain"
    dir=$(mktemp -d /tmp/arbrix-dc.XXXXXX)
    admin_password=$(random_password)
    admin_dn="CN=Administrator,CN=Users,$base_dn"
    user_login="arbrix.lecteur"
    user_dn="CN=Lecteur des tests,CN=Users,$base_dn"
    user_password=$(random_password)
    tls_ca="$dir/tls/ca.pem"
    # Recorded at once so that stop can clean up after a failure below.
    cat >"$env_file" <<EOF
ARBRIX_TEST_DC_DIR=$dir
ARBRIX_TEST_DC_ADDRESS=$address
ARBRIX_TEST_DC_HOST=$fqdn
EOF
    trap 'show_logs "$dir"; stop "$env_file"' ERR
    log "provisioning $realm on $address in $dir"
    samba-tool domain provision --realm="$realm" --domain="$workgroup" --server-role=dc \
        --dns-backend=NONE --base-schema=2012_R2 --adminpass="$admin_password" \
        --host-name="$host" --targetdir="$dir" \
        --option="netbios name=${host^^}" \
        --option="interfaces=$address" --option="bind interfaces only=yes" \
        --option="pid directory=$dir" --option="server services=ldap,kdc" \
        --option="log file=$dir/samba.log" \
        >"$dir/provision.log" 2>&1
    make_certificates "$dir/tls" "$address" "$fqdn"
    sed -i "/^\[global\]/a\\
\tldb:nosync = true\\
\ttls enabled = yes\\
\ttls keyfile = $dir/tls/key.pem\\
\ttls certfile = $dir/tls/cert.pem\\
\ttls cafile = $dir/tls/ca.pem" "$dir/etc/smb.conf"
    write_krb5_conf "$dir/krb5.conf" "$address"

    local pid
    pid=$(start_samba "$dir")
    echo "ARBRIX_TEST_DC_PID=$pid" >>"$env_file"
    local uri="ldap://$address" ldaps_uri="ldaps://$address"
    if ! wait_until_answering "$uri" "$pid"; then
        log "samba did not answer on $uri within ${start_timeout}s"
        false
    fi
    load_domain "$dir" "$uri" "$ldaps_uri" "$fqdn" "$host"

    local gssapi_skip="" alias="$host-alias.$dns_domain"
    if add_hosts_entry "$address" "$fqdn" "$alias"; then
        echo "ARBRIX_TEST_DC_ALIAS_URI=ldap://$alias" >>"$env_file"
    else
        gssapi_skip="/etc/hosts cannot be written, so $fqdn does not resolve for Kerberos"
    fi
    command -v kinit >/dev/null 2>&1 || gssapi_skip="kinit is not installed (krb5-user)"
    trap - ERR
    cat >>"$env_file" <<EOF
ARBRIX_TEST_DC_URI=$uri
ARBRIX_TEST_DC_LDAPS_URI=$ldaps_uri
ARBRIX_TEST_DC_HOST_URI=ldap://$fqdn
ARBRIX_TEST_DC_BASE=$base_dn
ARBRIX_TEST_DC_REALM=$realm
ARBRIX_TEST_DC_DOMAIN=$workgroup
ARBRIX_TEST_DC_DNS_DOMAIN=$dns_domain
ARBRIX_TEST_DC_ADMIN_DN=$admin_dn
ARBRIX_TEST_DC_ADMIN_LOGIN=Administrator@$dns_domain
ARBRIX_TEST_DC_ADMIN_PASSWORD=$admin_password
ARBRIX_TEST_DC_USER_DN=$user_dn
ARBRIX_TEST_DC_USER_LOGIN=$user_login@$dns_domain
ARBRIX_TEST_DC_USER_SAM=$user_login
ARBRIX_TEST_DC_USER_PASSWORD=$user_password
ARBRIX_TEST_DC_CA=$dir/tls/ca.pem
ARBRIX_TEST_DC_KRB5_CONFIG=$dir/krb5.conf
ARBRIX_TEST_DC_GSSAPI_SKIP=$gssapi_skip
EOF
    log "ready: $uri ($fqdn), base $base_dn, settings in $env_file"
}

stop() {
    local env_file dir address pid fqdn
    env_file=$(env_file_of "${1:-}")
    dir=$(env_value "$env_file" ARBRIX_TEST_DC_DIR)
    address=$(env_value "$env_file" ARBRIX_TEST_DC_ADDRESS)
    pid=$(env_value "$env_file" ARBRIX_TEST_DC_PID)
    fqdn=$(env_value "$env_file" ARBRIX_TEST_DC_HOST)
    # Only the controller this file recorded, by its process group.
    kill_samba "$pid"
    [ -n "$fqdn" ] && remove_hosts_entry "$fqdn"
    [ -n "$address" ] && ip addr del "$address/32" dev lo 2>/dev/null || true
    case "$dir" in
    /tmp/arbrix-dc.*) rm -rf "$dir" ;;
    esac
    rm -f "$env_file"
    return 0
}

# The fault tests kill the controller; the same provisioned domain comes back on the same address.
# "no-tls" brings it back as a server without TLS that takes clear-text simple binds,
# "sasl-over-tls" as one that takes Kerberos binds without a second layer over TLS.
restart() {
    local env_file dir pid uri tls="${2:-}"
    env_file=$(env_file_of "${1:-}")
    dir=$(env_value "$env_file" ARBRIX_TEST_DC_DIR)
    pid=$(env_value "$env_file" ARBRIX_TEST_DC_PID)
    uri=$(env_value "$env_file" ARBRIX_TEST_DC_URI)
    [ -n "$dir" ] && [ -n "$uri" ] || { log "no controller recorded in $env_file"; return 1; }
    kill_samba "$pid"
    sed -i "/ldap server require strong auth = /d; s/tls enabled = no/tls enabled = yes/" "$dir/etc/smb.conf"
    case "$tls" in
    no-tls) sed -i "s/tls enabled = yes/tls enabled = no\\
\tldap server require strong auth = no/" "$dir/etc/smb.conf" ;;
    sasl-over-tls) sed -i "s/tls enabled = yes/tls enabled = yes\\
\tldap server require strong auth = allow_sasl_over_tls/" "$dir/etc/smb.conf" ;;
    esac
    pid=$(start_samba "$dir")
    sed -i "s/^ARBRIX_TEST_DC_PID=.*/ARBRIX_TEST_DC_PID=$pid/" "$env_file"
    wait_until_answering "$uri" "$pid" || { log "samba did not answer on $uri after the restart"; return 1; }
}

print_env() {
    local env_file key value
    env_file=$(env_file_of "${1:-}")
    [ -f "$env_file" ] || { log "no $env_file: run start first"; return 1; }
    echo "export ARBRIX_TEST_DC_ENV='$env_file'"
    while IFS='=' read -r key value; do
        [ -n "$key" ] && printf "export %s='%s'\n" "$key" "$value"
    done <"$env_file"
}

case "${1:-}" in
start) start "${2:-}" ;;
stop) stop "${2:-}" ;;
env) print_env "${2:-}" ;;
restart) restart "${2:-}" "${3:-}" ;;
*)
    echo "usage: $0 start|stop|env|restart [ENV_FILE]" >&2
    exit 2
    ;;
esac
