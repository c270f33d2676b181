#!/usr/bin/env python3
"""A directory server on loopback that offers no TLS: its RootDSE lists StartTLS, but it answers
StartTLS with protocolError (or, with --drop, closes the connection on it; with --silent,
accepts it and then never negotiates TLS). Every bind it receives is appended to RECORD, one line
each, so a test can prove that none was sent.

    serveur-sans-tls.py RECORD [--drop|--silent]     prints the port it listens on, then serves
"""
import socket
import sys
import threading

STARTTLS = b"1.3.6.1.4.1.1466.20037"


def length(n):
    if n < 0x80:
        return bytes([n])
    raw = n.to_bytes((n.bit_length() + 7) // 8, "big")
    return bytes([0x80 | len(raw)]) + raw


def tlv(tag, content):
    return bytes([tag]) + length(len(content)) + content


def message(msgid, op):
    return tlv(0x30, tlv(0x02, msgid.to_bytes(4, "big").lstrip(b"\0") or b"\0") + op)


def result(tag, code):
    return tlv(tag, tlv(0x0A, bytes([code])) + tlv(0x04, b"") + tlv(0x04, b""))


def read_tlv(sock, buffer):
    """One whole element (tag, content) from the socket, or None at the end."""
    while True:
        if len(buffer) >= 2:
            first = buffer[1]
            header, size = 2, first
            if first & 0x80:
                count = first & 0x7F
                header = 2 + count
                size = int.from_bytes(buffer[2:header], "big") if len(buffer) >= header else None
            if size is not None and len(buffer) >= header + size:
                element = bytes(buffer[header:header + size])
                tag = buffer[0]
                del buffer[:header + size]
                return tag, element
        chunk = sock.recv(65536)
        if not chunk:
            return None
        buffer.extend(chunk)


def split(content):
    """The elements of a constructed value: (tag, content) pairs."""
    out, i = [], 0
    while i < len(content):
        tag, first = content[i], content[i + 1]
        header, size = 2, first
        if first & 0x80:
            header = 2 + (first & 0x7F)
            size = int.from_bytes(content[i + 2:i + header], "big")
        out.append((tag, content[i + header:i + header + size]))
        i += header + size
    return out


def serve(sock, record, manner):
    buffer = bytearray()
    with sock:
        while True:
            element = read_tlv(sock, buffer)
            if element is None:
                return
            parts = split(element[1])
            msgid = int.from_bytes(parts[0][1], "big")
            tag, op = parts[1]
            if tag == 0x60:  # bind: recorded, then refused
                fields = split(op)
                with open(record, "a") as f:
                    f.write("bind %s\n" % fields[1][1].decode("utf-8", "replace"))
                sock.sendall(message(msgid, result(0x61, 49)))
            elif tag == 0x63:  # search: the RootDSE
                attribute = tlv(0x30, tlv(0x04, b"supportedExtension") + tlv(0x31, tlv(0x04, STARTTLS)))
                entry = tlv(0x64, tlv(0x04, b"") + tlv(0x30, attribute))
                sock.sendall(message(msgid, entry) + message(msgid, result(0x65, 0)))
            elif tag == 0x77:  # extended operation: StartTLS refused, dropped, or accepted in vain
                if manner == "--drop":
                    return
                if manner == "--silent":
                    sock.sendall(message(msgid, result(0x78, 0)))
                    while sock.recv(65536):
                        pass
                    return
                sock.sendall(message(msgid, result(0x78, 2)))
            elif tag == 0x42:  # unbind
                return


def main():
    record = sys.argv[1]
    manner = sys.argv[2] if len(sys.argv) > 2 else "--refuse"
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    print(listener.getsockname()[1], flush=True)
    while True:
        sock, _ = listener.accept()
        threading.Thread(target=serve, args=(sock, record, manner), daemon=True).start()


if __name__ == "__main__":
    main()
