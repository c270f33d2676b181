#!/usr/bin/python3
"""A throwaway SMTP server on a loopback address for the messaging tests.

    test-smtp.py FOLDER [--refuse ADDRESS]...

Listens on 127.0.0.1 on a free port and prints that port on its first line of output. Each
message received is written to FOLDER as N.eml (the data as received) with N.rcpt (the envelope
recipients, one a line). RCPT TO one of the refused addresses is answered 550. Runs until killed.
"""
import asyncio
import os
import sys

from aiosmtpd.smtp import SMTP


class Recorder:
    def __init__(self, folder, refused):
        self.folder = folder
        self.refused = {a.lower() for a in refused}
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in self.refused:
            return "550 5.1.1 <%s>: Recipient address rejected: User unknown" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        with open(base + ".eml.part", "wb") as f:
            f.write(envelope.original_content)
        with open(base + ".rcpt", "w", encoding="utf-8") as f:
            f.write("".join(a + "\n" for a in envelope.rcpt_tos))
        os.rename(base + ".eml.part", base + ".eml")
        return "250 Message accepted"


async def main():
    folder = sys.argv[1]
    refused = [sys.argv[i + 1] for i, a in enumerate(sys.argv) if a == "--refuse"]
    handler = Recorder(folder, refused)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(handler, decode_data=False, enable_SMTPUTF8=True), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
