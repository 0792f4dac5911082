"""A throwaway plain FTP server for the upload tests, on 127.0.0.1, with one account.

usage: /usr/bin/python3 ftp_test_server.py PORT ROOT USER [STALL_AFTER_BYTES]

The account's password is read from the environment variable TONDRELA_TEST_FTP_PASSWORD
(the tests make a new one each run). The account may write in ROOT, its login directory.
With STALL_AFTER_BYTES the server stops reading an upload's data connection once that many
bytes have arrived and leaves it open: a transfer that stalls midway.
"""

import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    port, root, user = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    stall_after = int(sys.argv[4]) if len(sys.argv) > 4 else None

    authorizer = DummyAuthorizer()
    authorizer.add_user(user, os.environ["TONDRELA_TEST_FTP_PASSWORD"], root, perm="elradfmw")

    class StallingDTPHandler(DTPHandler):
        def handle_read(self):
            if self.tot_bytes_received >= stall_after:
                self.del_channel()  # nothing reads the socket any more; it stays open
                return
            DTPHandler.handle_read(self)

        handle_read_event = handle_read

    # A refused login is answered after half a second (pyftpdlib waits 3 s by default).
    handler = type("Handler", (FTPHandler,),
                   {"authorizer": authorizer, "auth_failed_timeout": 0.5})
    if stall_after is not None:
        handler.dtp_handler = StallingDTPHandler
    server = FTPServer(("127.0.0.1", port), handler)
    server.serve_forever()


if __name__ == "__main__":
    main()
