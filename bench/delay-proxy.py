#!/usr/bin/env python3
"""A TCP proxy on loopback that holds every chunk of data for a fixed time in each direction, so
that a local server answers with the latency of a distant one (this kernel has no netem).

    bench/delay-proxy.py TARGET_HOST TARGET_PORT [--listen 127.0.0.1] [--port 0] [--delay-ms 20]

Prints "listening HOST PORT" once ready, then runs until killed. Chunks keep their order and are
not serialised behind each other: each leaves delay-ms after it arrived.
"""

import argparse
import asyncio


async def pump(reader, writer, delay):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await queue.get()
            pause = due - loop.time()
            if pause > 0:
                await asyncio.sleep(pause)
            if not data:
                break
            writer.write(data)
            await writer.drain()
        writer.close()

    sender = asyncio.create_task(deliver())
    try:
        while True:
            data = await reader.read(65536)
            await queue.put((loop.time() + delay, data))
            if not data:
                break
    except ConnectionError:
        await queue.put((loop.time(), b""))
    await sender


async def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("target_host")
    p.add_argument("target_port", type=int)
    p.add_argument("--listen", default="127.0.0.1")
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--delay-ms", type=float, default=20.0)
    args = p.parse_args()
    delay = args.delay_ms / 1000.0

    async def client(reader, writer):
        try:
            up_reader, up_writer = await asyncio.open_connection(args.target_host, args.target_port)
        except OSError:
            writer.close()
            return
        await asyncio.gather(pump(reader, up_writer, delay), pump(up_reader, writer, delay),
                             return_exceptions=True)

    server = await asyncio.start_server(client, args.listen, args.port)
    host, port = server.sockets[0].getsockname()[:2]
    print(f"listening {host} {port}", flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        pass
