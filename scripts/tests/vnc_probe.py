"""Small protocol probes for the served display's test; each prints what it saw, exits 0 or 1.

  vnc_probe.py rfb-refuses HOST PORT [TIMES]
                                       the VNC server offers password authentication only and
                                       refuses a wrong answer to its challenge, TIMES times in a
                                       row (1), each time asking for the password again
  vnc_probe.py x11-refuses DISPLAY     the X display refuses a client without its cookie
  vnc_probe.py jpeg-size FILE          prints WIDTHxHEIGHT of a JPEG picture
  vnc_probe.py free-port               prints a TCP port free on 127.0.0.1
"""
import os
import socket
import struct
import sys

NONE, VNC_AUTH = 1, 2


def read_exactly(sock, count):
    data = b""
    while len(data) < count:
        chunk = sock.recv(count - len(data))
        if not chunk:
            raise ConnectionError("closed after %d of %d bytes" % (len(data), count))
        data += chunk
    return data


def offered_types(sock):
    """Answers the server's version; returns the security types it offers."""
    version = read_exactly(sock, 12)
    print("server:", version.decode().strip())
    if version < b"RFB 003.007\n":
        # Version 3.3: the server names the one type itself.
        sock.sendall(b"RFB 003.003\n")
        return [struct.unpack(">I", read_exactly(sock, 4))[0]], False
    sock.sendall(b"RFB 003.008\n")
    count = read_exactly(sock, 1)[0]
    return list(read_exactly(sock, count)), True


def rfb_refuses(host, port, times="1"):
    return all(rfb_refuses_once(host, port) for _ in range(int(times)))


def rfb_refuses_once(host, port):
    with socket.create_connection((host, int(port)), timeout=10) as sock:
        offered, client_chooses = offered_types(sock)
        print("security types:", offered)
        if offered in ([], [0]):  # a failure, with its reason
            reason = read_exactly(sock, struct.unpack(">I", read_exactly(sock, 4))[0])
            print("FAIL: the server asks for no password at all:", reason.decode(errors="replace"))
            return False
        if offered != [VNC_AUTH]:
            print("FAIL: expected VNC authentication alone, never None")
            return False
        if client_chooses:
            sock.sendall(bytes([VNC_AUTH]))
        challenge = read_exactly(sock, 16)
        # The answer a client without the password can give: anything but the DES of the challenge.
        sock.sendall(bytes(b ^ 0x5A for b in challenge))
        result = struct.unpack(">I", read_exactly(sock, 4))[0]
        print("answer without the password:", "refused" if result != 0 else "ACCEPTED")
        return result != 0


def x11_refuses(display):
    number = display.lstrip(":").split(".")[0]
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as sock:
        sock.settimeout(10)
        sock.connect("/tmp/.X11-unix/X" + number)
        # Little-endian connection setup, protocol 11.0, no authorization name or data.
        sock.sendall(struct.pack("<cxHHHHxx", b"l", 11, 0, 0, 0))
        status = read_exactly(sock, 1)[0]
        print("X connection without the cookie:", "refused" if status == 0 else "ACCEPTED")
        return status == 0


def jpeg_size(path):
    data = open(path, "rb").read()
    position = 2
    while position + 9 <= len(data):
        marker, length = data[position + 1], struct.unpack(">H", data[position + 2:position + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            height, width = struct.unpack(">HH", data[position + 5:position + 9])
            print("%dx%d" % (width, height))
            return True
        position += 2 + length
    print("no JPEG frame header in", path)
    return False


def free_port():
    with socket.socket() as sock:
        sock.bind(("127.0.0.1", 0))
        print(sock.getsockname()[1])
    return True


def main(argv):
    probes = {"rfb-refuses": rfb_refuses, "x11-refuses": x11_refuses,
              "jpeg-size": jpeg_size, "free-port": free_port}
    if len(argv) < 2 or argv[1] not in probes:
        print(__doc__, file=sys.stderr)
        return 2
    return 0 if probes[argv[1]](*argv[2:]) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
