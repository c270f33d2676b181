#!/usr/bin/env python3
"""A TCP proxy that goes silent: it passes the first LIMIT bytes the server sends on each
connection, then holds everything back while keeping the connection open, as a directory server
that stopped answering in the middle of an answer. With DRIP_MS, the server's data goes in
chunks of 4 kB, one every DRIP_MS: a slow server whose answer keeps coming (LIMIT -1: all of it).

    proxy-muet.py LISTEN_HOST TARGET_HOST TARGET_PORT LIMIT [DRIP_MS]   prints the port, serves
"""
import asyncio
import sys


async def pipe(reader, writer, limit, drip=0.0):
    sent = 0
    while True:
        data = await reader.read(4096 if drip else 65536)
        if not data:
            break
        if limit is not None and limit >= 0:
            data = data[:max(0, limit - sent)]
        if drip:
            await asyncio.sleep(drip)
        sent += len(data)
        if data:
            writer.write(data)
            await writer.drain()
    writer.close()


async def main():
    listen, host, port, limit = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    drip = int(sys.argv[5]) / 1000 if len(sys.argv) > 5 else 0.0

    async def serve(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection(host, port)
        await asyncio.gather(pipe(client_reader, server_writer, None),
                             pipe(server_reader, client_writer, limit, drip), return_exceptions=True)

    server = await asyncio.start_server(serve, listen, 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


asyncio.run(main())
