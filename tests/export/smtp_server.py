"""SMTP server for the e-mail tests, on 127.0.0.1 only.

Runs aiosmtpd on a free port, prints the port on the first line of its output,
accepts one known AUTH LOGIN and stores every message it receives in FOLDER as
N.eml (the raw bytes after DATA) and N.json (envelope, login, whether TLS was
on). With --tls CERT KEY it offers STARTTLS and requires it before AUTH.
It ends by itself after --lifetime seconds.
"""

import argparse
import asyncio
import json
import logging
import pathlib
import ssl

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class MessageStore:
    def __init__(self, folder):
        self.folder = pathlib.Path(folder)
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        stem = self.folder / str(self.count)
        stem.with_suffix(".eml").write_bytes(envelope.original_content)
        stem.with_suffix(".json").write_text(json.dumps({
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "login": session.auth_data,
            "tls": session.ssl is not None,
        }))
        return "250 2.0.0 Ok: queued"


def authenticator_for(login, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        if (mechanism == "LOGIN" and isinstance(auth_data, LoginPassword)
                and auth_data.login == login.encode() and auth_data.password == password.encode()):
            return AuthResult(success=True, auth_data=login)
        return AuthResult(success=False, handled=False)
    return authenticate


async def serve(args):
    tls_context = None
    if args.tls:
        tls_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls_context.load_cert_chain(*args.tls)
    store = MessageStore(args.folder)
    authenticator = authenticator_for(args.login, args.password)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(store, hostname="localhost", authenticator=authenticator,
                     tls_context=tls_context, require_starttls=tls_context is not None,
                     auth_require_tls=tls_context is not None),
        "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await asyncio.sleep(args.lifetime)
    server.close()


def main():
    # aiosmtpd warns about its own use of a deprecated session field.
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--login", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--lifetime", type=float, default=120)
    asyncio.run(serve(parser.parse_args()))


if __name__ == "__main__":
    main()
