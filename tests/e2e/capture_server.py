#!/usr/bin/env python3
"""A pretend network printer for the end-to-end tests.

Listens on 127.0.0.1:PORT like a printer's raw port (AppSocket / JetDirect, what CUPS's socket
backend speaks) and stores every connection's bytes as one job file in OUTDIR:
job-0001.bin, job-0002.bin, ... A job is written to a ".part" file first and renamed when the
sender closes the connection, so a reader that sees job-NNNN.bin sees the whole job.

Usage: capture_server.py PORT OUTDIR [--ready-file FILE]
The ready file is created once the socket listens, so a caller can wait for it instead of
guessing a delay.
"""

import argparse
import os
import signal
import socket
import sys


def serve(port: int, outdir: str, ready_file: str | None) -> None:
    os.makedirs(outdir, exist_ok=True)
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(4)
    if ready_file:
        with open(ready_file, "w", encoding="ascii") as f:
            f.write(f"{os.getpid()}\n")

    # Jobs arrive one at a time from one CUPS queue; numbering continues after existing files so
    # a restarted server never overwrites an earlier job.
    existing = [n for n in os.listdir(outdir) if n.startswith("job-") and n.endswith(".bin")]
    number = len(existing)
    while True:
        conn, _ = server.accept()
        number += 1
        final = os.path.join(outdir, f"job-{number:04d}.bin")
        partial = final + ".part"
        with conn, open(partial, "wb") as out:
            while True:
                chunk = conn.recv(65536)
                if not chunk:
                    break
                out.write(chunk)
        os.rename(partial, final)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("port", type=int)
    parser.add_argument("outdir")
    parser.add_argument("--ready-file")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        serve(args.port, args.outdir, args.ready_file)
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
