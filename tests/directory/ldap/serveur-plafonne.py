#!/usr/bin/env python3
"""A directory server on loopback that caps unpaged answers, as Active Directory does past its
MaxPageSize: an attribute scoped query without the paged-results control gets one entry and the
result code given (4 sizeLimitExceeded, or 11 adminLimitExceeded); with the control, the group's
members come in pages of two. A subtree search of their O.U. is answered the same way; any other
search finds nothing. Each of those searches is appended to RECORD as "paged" or "unpaged".

    serveur-plafonne.py RECORD [CODE]     prints the port it listens on, then serves
"""
import socket
import sys
import threading

SCOPED = b"1.2.840.113556.1.4.1504"
PAGED = b"1.2.840.113556.1.4.319"
OU = b"OU=Essai,DC=plafond,DC=test"
MEMBERS = [f"CN=Membre {i},OU=Essai,DC=plafond,DC=test".encode() for i in range(5)]


def length(n):
    if n < 0x80:
        return bytes([n])
    raw = n.to_bytes((n.bit_length() + 7) // 8, "big")
    return bytes([0x80 | len(raw)]) + raw


def tlv(tag, content):
    return bytes([tag]) + length(len(content)) + content


def integer(tag, n):
    return tlv(tag, n.to_bytes(4, "big").lstrip(b"\0") or b"\0")


def read_tlv(data, at):
    """(tag, content, next offset) of the element at data[at:]."""
    tag, first = data[at], data[at + 1]
    at += 2
    if first & 0x80:
        count = first & 0x7F
        size = int.from_bytes(data[at:at + count], "big")
        at += count
    else:
        size = first
    return tag, data[at:at + size], at + size


def elements(data):
    at, out = 0, []
    while at < len(data):
        tag, content, at = read_tlv(data, at)
        out.append((tag, content))
    return out


def message(msgid, op, controls=b""):
    return tlv(0x30, integer(0x02, msgid) + op + controls)


def done(code):
    return tlv(0x65, integer(0x0A, code) + tlv(0x04, b"") + tlv(0x04, b""))


def entry(dn):
    return tlv(0x64, tlv(0x04, dn) + tlv(0x30, tlv(0x30, tlv(0x04, b"cn") + tlv(0x31, tlv(0x04, dn[3:11])))))


def paged_response(cookie):
    value = tlv(0x30, integer(0x02, 0) + tlv(0x04, cookie))
    return tlv(0xA0, tlv(0x30, tlv(0x04, PAGED) + tlv(0x04, value)))


def controls_of(parts):
    """{oid: value} of the request's controls ([0] after the operation)."""
    found = {}
    for tag, content in parts[2:]:
        if tag != 0xA0:
            continue
        for _, control in elements(content):
            fields = elements(control)
            found[fields[0][1]] = fields[-1][1] if len(fields) > 1 and fields[-1][0] == 0x04 else b""
    return found


def answer_search(msgid, base, controls, record, code):
    if SCOPED not in controls and base != OU:
        return message(msgid, done(0))
    if PAGED not in controls:
        with open(record, "a") as f:
            f.write("unpaged\n")
        return message(msgid, entry(MEMBERS[0])) + message(msgid, done(code))
    with open(record, "a") as f:
        f.write("paged\n")
    request = elements(controls[PAGED])
    fields = elements(request[0][1])
    cookie = fields[1][1]
    start = int(cookie or b"0")
    page = MEMBERS[start:start + 2]
    following = str(start + 2).encode() if start + 2 < len(MEMBERS) else b""
    return b"".join(message(msgid, entry(dn)) for dn in page) + message(msgid, done(0), paged_response(following))


def serve(connection, record, code):
    buffer = b""
    with connection:
        while True:
            data = connection.recv(65536)
            if not data:
                return
            buffer += data
            while len(buffer) >= 2:
                try:
                    _, content, end = read_tlv(buffer, 0)
                except IndexError:
                    break
                if end > len(buffer):
                    break
                buffer = buffer[end:]
                parts = elements(content)
                msgid = int.from_bytes(parts[0][1], "big")
                operation = parts[1][0]
                if operation == 0x60:  # bind: anonymous binds are welcome
                    connection.sendall(message(msgid, tlv(0x61, integer(0x0A, 0) + tlv(0x04, b"") + tlv(0x04, b""))))
                elif operation == 0x63:
                    base = elements(parts[1][1])[0][1]
                    connection.sendall(answer_search(msgid, base, controls_of(parts), record, code))
                elif operation == 0x42:  # unbind
                    return


def main():
    record = sys.argv[1]
    code = int(sys.argv[2]) if len(sys.argv) > 2 else 4
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen()
    print(listener.getsockname()[1], flush=True)
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=serve, args=(connection, record, code), daemon=True).start()


if __name__ == "__main__":
    main()
