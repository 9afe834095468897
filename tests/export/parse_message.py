"""Reads one raw e-mail message with Python's email package and prints, as
JSON, what a mail program would show of it: the decoded headers, the text and
the attachments (name and base64 of the decoded bytes)."""

import base64
import email
import email.policy
import json
import sys


def main():
    with open(sys.argv[1], "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)

    sender = message["From"].addresses[0]
    text = message.get_body(preferencelist=("plain",))
    result = {
        "date": message["Date"].datetime.isoformat() if message["Date"].datetime else None,
        "message_id": str(message["Message-Id"]),
        "to": str(message["To"]),
        "cc": str(message["CC"]) if message["CC"] is not None else None,
        "from_name": sender.display_name,
        "from_address": sender.addr_spec,
        "subject": str(message["Subject"]),
        "content_type": message.get_content_type(),
        "body": text.get_content(),
        "body_charset": text.get_content_charset(),
        "body_encoding": text["Content-Transfer-Encoding"],
        "attachments": [
            {
                "name": part.get_filename(),
                "content_type": part.get_content_type(),
                "data": base64.b64encode(part.get_payload(decode=True)).decode("ascii"),
            }
            for part in message.iter_attachments()
        ],
    }
    json.dump(result, sys.stdout)


if __name__ == "__main__":
    main()
