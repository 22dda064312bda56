#!/usr/bin/env bash
# The server as its viewers and its operator meet it: curl and telnet in tmux
# panes, the exit statuses, and connections that misbehave. Only loopback.
# Usage: viewers.sh SERVER TERMINAL_PROGRAM CASE [SERVER_LOAD]
# (exit 77 when a tool is missing)
set -uo pipefail
server=$1
terminal_program=$2
case_name=$3
for tool in tmux curl telnet python3; do command -v "$tool" >/dev/null || exit 77; done

socket="glyph-server-$case_name-$$"
work=$(mktemp -d)
chmod 755 "$work"
tmux_() { tmux -L "$socket" "$@"; }
server_pid=
cleanup() {
  tmux_ kill-server 2>/dev/null
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL [$case_name]: $*" >&2; tmux_ capture-pane -p >&2 2>/dev/null; cat "$work/server.err" >&2 2>/dev/null; exit 1; }
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(--user nobody)

# Starts the server on free ports as $http and $telnet, with ARGS added;
# from $port_base on, if set, with room for a few more above.
start_server() {
  for _ in $(seq 20); do
    if [ -n "${port_base:-}" ]; then http=$((port_base + 2 * (RANDOM % 40))); else http=$((20000 + RANDOM % 20000)); fi
    telnet=$((http + 1))
    "$server" --http "127.0.0.1:$http" --telnet "127.0.0.1:$telnet" "${as_user[@]}" "$@" 2>"$work/server.err" &
    server_pid=$!
    sleep 0.3
    kill -0 "$server_pid" 2>/dev/null && return 0
    wait "$server_pid"
    [ $? -eq 1 ] || fail "the server did not start: $(cat "$work/server.err")"
  done
  fail "no free port"
}

pane() { # pane COLUMNS ROWS: a shell in a pane of that size
  tmux_ new-session -d -x "$1" -y "$2" "bash --norc --noprofile" || fail "tmux did not start"
  tmux_ set-option -g status off >/dev/null
  sleep 0.3
}
screen() { tmux_ capture-pane -p; }
# Up to ten seconds for a command to succeed: a loaded machine is slow to draw.
within() { for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done; "$@"; }
modes_are() { [ "$(tmux_ display -p '#{alternate_on} #{cursor_flag}')" = "$1" ]; }
widest_at_most() { [ "$(screen | awk '{ if (length($0) > m) m = length($0) } END { print m + 0 }')" -le "$1" ]; }
water_on_row() { screen | sed -n "${1}p" | grep -q '^~~~~'; }
shows() { screen | tr -d '\n' | grep -q "$1"; }
descriptors() { ls "/proc/$server_pid/fd" | wc -l; }
status_of() { curl -s "http://127.0.0.1:$http/status" | sed -n "s/^$1 //p"; }

case "$case_name" in
options)
  "$server" >/dev/null 2>"$work/err"; [ $? -eq 2 ] || fail "no listener is not status 2"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "no listener is not one line"
  "$server" --http 127.0.0.1:99999 2>"$work/err"; [ $? -eq 2 ] || fail "a bad port is not status 2"
  "$server" --http 127.0.0.1:1 --max-viewers 0 2>"$work/err"; [ $? -eq 2 ] || fail "--max-viewers 0 is not status 2"
  "$server" --http 127.0.0.1:1 --trusted-proxy localhost 2>"$work/err"; [ $? -eq 2 ] || fail "a proxy by name is not status 2"
  "$server" --help | grep -q 'curl -N "http://HOST:PORT/?size=${COLUMNS}x${LINES}"' || fail "--help shows no curl command"
  "$server" --version | grep -q '^glyphmarinae-server ' || fail "--version"
  if [ "$(id -u)" -eq 0 ]; then
    "$server" --http 127.0.0.1:1 2>"$work/err"; [ $? -eq 1 ] || fail "root without --user is not refused"
    grep -q 'will not run as root' "$work/err" || fail "root's refusal: $(cat "$work/err")"
  else
    "$server" --http 127.0.0.1:80 2>"$work/err"; [ $? -eq 1 ] || fail "a port it cannot listen on is not status 1"
    grep -qx 'glyphmarinae-server: cannot listen on 127.0.0.1:80: Permission denied' "$work/err" ||
      fail "the listen failure reads: $(cat "$work/err")"
  fi
  start_server
  [ "$(stat -c %U "/proc/$server_pid")" != root ] || fail "the server still runs as root"
  "$server" --http "127.0.0.1:$http" "${as_user[@]}" 2>"$work/err"; [ $? -eq 1 ] || fail "a port in use is not status 1"
  grep -qx "glyphmarinae-server: cannot listen on 127.0.0.1:$http: Address already in use" "$work/err" || fail "$(cat "$work/err")"
  [ "$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$http/?size=0x3")" = 400 ] || fail "size=0x3 is not 400"
  [ "$(curl -s "http://127.0.0.1:$http/?colour=42")" = "colour wants truecolor, 256, 16, 8 or none" ] || fail "the 400's reason"
  curl -s -H 'Accept: text/html' "http://127.0.0.1:$http/" | grep -q 'curl -N' || fail "a browser is not told how to watch"
  [ "$(status_of viewers)" = 0 ] || fail "/status: $(curl -s "http://127.0.0.1:$http/status")"
  kill -TERM "$server_pid"; wait "$server_pid"; [ $? -eq 0 ] || fail "SIGTERM is not status 0"
  server_pid=
  # A session ends at its limit with a word, whoever is watching.
  "$server" --http "127.0.0.1:$http" --session-limit 1 "${as_user[@]}" 2>"$work/server.err" &
  server_pid=$!
  sleep 0.3
  timeout 5 curl -s -N "http://127.0.0.1:$http/?size=10x3" | tail -c 200 | grep -q "the session limit of 1 s is reached" ||
    fail "the session limit did not end the stream"
  kill "$server_pid"; wait "$server_pid"
  server_pid=
  # The web page's files, read-only, and nothing outside their folder.
  mkdir -p "$work/web/sub" "$work/outside"
  echo '<!doctype html><title>page</title>' >"$work/web/index.html"
  echo 'export {}' >"$work/web/sub/app.mjs"
  printf '\0asm\1\0\0\0' >"$work/web/a.wasm"
  echo secret >"$work/outside/secret.txt"
  ln -s "$work/outside/secret.txt" "$work/web/link.txt"
  chmod -R a+rX "$work"
  "$server" --http "127.0.0.1:$http" --web-root "$work/web" "${as_user[@]}" 2>"$work/server.err" &
  server_pid=$!
  sleep 0.3
  got() { curl -s -o /dev/null -w '%{http_code} %{content_type}' "$@"; }
  [ "$(got -H 'Accept: text/html' "http://127.0.0.1:$http/")" = "200 text/html; charset=utf-8" ] || fail "index.html"
  [ "$(got "http://127.0.0.1:$http/sub/app.mjs")" = "200 text/javascript; charset=utf-8" ] || fail ".mjs"
  [ "$(got "http://127.0.0.1:$http/a.wasm")" = "200 application/wasm" ] || fail ".wasm"
  curl -s -D - -o /dev/null "http://127.0.0.1:$http/a.wasm" | grep -q '^Vary: Accept' || fail "no Vary: Accept"
  [ "$(curl -s -I "http://127.0.0.1:$http/a.wasm" | grep -c 'Content-Length: 8')" = 1 ] || fail "HEAD"
  for path in /../outside/secret.txt /%2e%2e/outside/secret.txt /sub/%2E%2E/%2e%2e/outside/secret.txt /link.txt /sub/ \
              /sub//app.mjs /./index.html; do
    [ "$(got --path-as-is "http://127.0.0.1:$http$path")" = "404 text/plain; charset=utf-8" ] || fail "$path is served"
  done
  [ "$(got -X POST "http://127.0.0.1:$http/index.html")" = "405 text/plain; charset=utf-8" ] || fail "POST is taken"
  curl -s --max-time 3 "http://127.0.0.1:$http/?size=5x2&seed=1&ticks=0" | grep -q '2026l' || fail "no aquarium beside the page"
  kill "$server_pid"; wait "$server_pid"
  server_pid=
  # A port alone is every address, IPv6 and IPv4 alike; [::1] is only itself.
  if [ -s /proc/net/if_inet6 ]; then
    "$server" --http "$http" --telnet "[::1]:$telnet" "${as_user[@]}" 2>"$work/server.err" &
    server_pid=$!
    sleep 0.3
    curl -s -g "http://[::1]:$http/status" | grep -q '^viewers ' || fail "a port alone does not take IPv6"
    curl -s "http://127.0.0.1:$http/status" | grep -q '^viewers ' || fail "a port alone does not take IPv4"
    ! (exec 3<>"/dev/tcp/127.0.0.1/$telnet") 2>/dev/null || fail "[::1] listens on IPv4 too"
    ss -ltn | grep -q "\[::1\]:$telnet " || fail "[::1] does not listen on ::1"
  fi
  ;;
curl)
  start_server
  # A seeded stream of known length ends on what the dump prints, and never
  # scrolls a terminal of its size.
  pane 60 14
  tmux_ send-keys "curl -s -N 'http://127.0.0.1:$http/?size=60x14&seed=7&ticks=25&colour=16'; sleep 60" Enter
  "$terminal_program" --dump --size 60x14 --seed 7 --ticks 25 >"$work/dump"
  is_dump() { diff <(screen | sed 's/ *$//') <(sed 's/ *$//' "$work/dump") >"$work/diff"; }
  within is_dump || { cat "$work/diff" >&2; fail "the stream's last screen is not the dump"; }
  # The dump's screen may pass by mid-stream only if the stream is over by now.
  sleep 1
  is_dump || fail "the stream went on past the dump's screen"
  # A server of its own for the next pane: one told to end may still be going.
  tmux_ kill-server
  socket="$socket-endless"
  # An endless stream: the aquarium, then a usable prompt below it after Ctrl-C.
  pane 80 26
  tmux_ send-keys "curl -s -N 'http://127.0.0.1:$http/'" Enter
  within shows '~~~~~~~~~~' || fail "the pane shows no water"
  [ "$(tmux_ display -p '#{alternate_on} #{cursor_flag}')" = "0 1" ] || fail "the stream took the alternate screen or the cursor"
  tmux_ send-keys C-c
  sleep 0.5
  tmux_ send-keys "echo still-here-\$((6*7))" Enter
  within eval "screen | grep -q '^still-here-42'" || fail "the prompt after Ctrl-C is not usable"
  [ "$(screen | grep -c '\^\^\^\^')" -ge 2 ] || fail "the picture is gone after Ctrl-C"
  ;;
telnet)
  start_server
  pane 70 20
  tmux_ send-keys "telnet 127.0.0.1 $telnet" Enter
  within modes_are "1 0" || fail "telnet is not in the alternate screen with the cursor hidden"
  within water_on_row 6 || fail "the pane shows no water"
  ! widest_at_most 59 || fail "the picture is not the pane's width"
  tmux_ resize-window -x 40 -y 12
  within widest_at_most 40 || fail "the resize was not followed"
  within water_on_row 6 || fail "no water at the new size's surface"
  tmux_ send-keys q
  within modes_are "0 1" || fail "a key did not restore the pane's modes"
  within shows 'Connection closed by foreign host' || fail "a key did not end it"
  # Stopped while watching, the server says goodbye and gives the pane back.
  tmux_ send-keys "clear; telnet 127.0.0.1 $telnet" Enter
  within modes_are "1 0" || fail "the second telnet does not watch"
  kill -TERM "$server_pid"
  wait "$server_pid"; [ $? -eq 0 ] || fail "SIGTERM with a viewer is not status 0"
  server_pid=
  within modes_are "0 1" || fail "SIGTERM did not restore the pane's modes"
  within shows 'the server is shutting down; goodbye' || fail "no goodbye"
  ;;
faults)
  start_server --max-per-address 8 --quiet
  before=$(descriptors)
  python3 - "$http" "$telnet" <<'PY' || fail "the faults' driver failed"
import socket, sys, time
http, telnet = int(sys.argv[1]), int(sys.argv[2])
def conn(port, source='127.0.0.1'):
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    s.bind((source, 0))
    s.connect(('127.0.0.1', port))
    return s
# Viewers who never read, from their own addresses.
sleepers = []
for i in range(6):
    s = conn(http, '127.0.0.%d' % (10 + i))
    s.sendall(b'GET /?size=1000x1000&colour=truecolor HTTP/1.1\r\n\r\n')
    sleepers.append(s)
# One request sent one byte a second: closed at 5 s.
slow = conn(http, '127.0.0.20')
for b in b'GET / HTTP/1.1\r\n':
    try:
        slow.send(bytes([b]))
    except OSError:
        break
    time.sleep(1)
slow.settimeout(3)
try:
    assert slow.recv(100) == b'', 'the slow request was answered'
except ConnectionResetError:
    pass
# A flood from one address: all beyond the cap are refused at once.
flood = [conn(http, '127.0.0.30') for _ in range(40)]
refused = 0
for s in flood:
    s.settimeout(7)
    data = s.recv(200)
    refused += data.startswith(b'HTTP/1.1 429')
assert refused == 32, 'refused %d of the flood' % refused
for s in flood: s.close()
# Garbage on both ports, and a subnegotiation without end.
for port, junk in ((http, b'\x00\xff' * 5000), (http, b'GET / HTTP/1.1\r\n' + b'X: ' + b'y' * 9000),
                   (telnet, b'\xff\xfa\x1f' + b'\x01' * 5000), (telnet, b'\xff\xfa\x1f\x00\x50\xff\xf0')):
    s = conn(port, '127.0.0.40')
    try:
        s.sendall(junk)
        s.settimeout(6)
        while s.recv(65536):
            pass
    except OSError:
        pass
    s.close()
# The cells of all pictures together are bounded (19,200,000 at 10,000
# viewers): the twentieth picture of 1000x1000 is refused.
crowd = [conn(http, '127.0.0.%d' % (60 + i // 7)) for i in range(14)]
for s in crowd:
    s.sendall(b'GET /?size=1000x1000 HTTP/1.1\r\n\r\n')
    time.sleep(0.1)
crowd[-1].settimeout(3)
answer = crowd[-1].recv(4096)
assert answer.startswith(b'HTTP/1.1 503') and answer.endswith(b'\r\n\r\nthe server has no room for a picture that size now\n'), answer
for s in crowd: s.close()
# Over telnet a refusal is one line, and a key typed during the negotiation
# ends it at once, with nothing drawn.
def until_closed(s):
    s.settimeout(3)
    got = b''
    while (data := s.recv(4096)): got += data
    return got
crowd = [conn(telnet, '127.0.0.50') for _ in range(9)]
assert until_closed(crowd[-1]) == b'glyphmarinae-server: too many viewers from one address\r\n'
for s in crowd: s.close()
s = conn(telnet, '127.0.0.51')
s.sendall(b'q')
assert b'\x1b' not in until_closed(s), 'a key in the negotiation drew the aquarium'
time.sleep(1)
for s in sleepers: s.close()
PY
  sleep 1
  curl -s -N --max-time 3 "http://127.0.0.1:$http/?size=20x5&seed=1&ticks=2" | grep -q '2026l' || fail "the server no longer serves"
  sleep 0.5
  [ "$(descriptors)" -eq "$before" ] || fail "descriptors: $before before, $(descriptors) after"
  [ "$(status_of refused_per_address)" -ge 32 ] || fail "/status counts no refusals"
  [ "$(status_of frames_skipped)" -gt 0 ] || fail "viewers who never read skipped no frame"
  [ "$(status_of bytes_queued)" = 0 ] || fail "bytes are still queued for viewers who left"
  ;;
load)
  # A thousand viewers for ten seconds, eight to an address: each gets 95 % of
  # its frames, and the server is back to no viewer when they have gone.
  load=$4
  command -v ss >/dev/null || exit 77
  start_server --quiet
  # The listeners once listened again with libevent's default of 128, and a
  # crowd arriving at once waited seconds for its handshakes to be retried.
  somaxconn=$(cat /proc/sys/net/core/somaxconn)
  queue=$(ss -Hlnt "sport = :$http" | awk '{ print $3 }')
  [ "${queue:-0}" -ge $((somaxconn < 4096 ? somaxconn : 4096)) ] || fail "the listen queue is ${queue:-none}"
  "$load" "$http" 1000 10 8 "$server_pid" >"$work/load" || { cat "$work/load" >&2; fail "the crowd missed frames"; }
  cat "$work/load"
  sleep 1
  [ "$(status_of viewers)" = 0 ] || fail "viewers remain after the crowd left"
  ;;
churn)
  # A thousand viewers coming and going at random for a minute: afterwards
  # the descriptors are back, nothing is queued, and it still serves.
  load=$4
  start_server --quiet
  before=$(descriptors)
  grep VmRSS "/proc/$server_pid/status"
  "$load" "$http" 1000 60 4 "$server_pid" "" churn >"$work/load" || { cat "$work/load" >&2; fail "the crowd could not connect"; }
  cat "$work/load"
  sleep 1
  [ "$(status_of viewers)" = 0 ] || fail "viewers remain after the crowd left"
  [ "$(status_of bytes_queued)" = 0 ] || fail "bytes are still queued"
  [ "$(descriptors)" -eq "$before" ] || fail "descriptors: $before before, $(descriptors) after"
  grep VmRSS "/proc/$server_pid/status"
  ;;
shared)
  # Two processes on one port with --reuse-port: the kernel gives each some
  # of sixteen viewers, and each holds a descriptor for each of its own.
  port_base=18200
  start_server --reuse-port
  first_pid=$server_pid
  "$server" --http "127.0.0.1:$http" --reuse-port "${as_user[@]}" 2>"$work/second.err" &
  second_pid=$!
  sleep 0.3
  kill -0 "$second_pid" 2>/dev/null || fail "the second process did not share the port: $(cat "$work/second.err")"
  python3 - "$http" "$first_pid" "$second_pid" <<'PY' || { kill "$second_pid"; fail "both processes did not serve"; }
import os, socket, sys, time
port, pids = int(sys.argv[1]), sys.argv[2:]
descriptors = lambda pid: len(os.listdir('/proc/%s/fd' % pid))
before = [descriptors(pid) for pid in pids]
viewers = []
for i in range(16):
    s = socket.create_connection(('127.0.0.1', port), source_address=('127.0.0.%d' % (10 + i), 0))
    s.sendall(b'GET /?size=10x3 HTTP/1.1\r\n\r\n')
    assert s.recv(12) == b'HTTP/1.1 200', 'viewer %d was not served' % i
    viewers.append(s)
time.sleep(0.5)
gained = [descriptors(pid) - b for pid, b in zip(pids, before)]
assert sum(gained) == 16 and min(gained) > 0, 'the viewers each process holds: %s' % gained
print('viewers each process holds:', gained)
PY
  kill "$second_pid"; wait "$second_pid"
  ;;
balancer)
  # HAProxy in front, with the configuration the package ships, sending a
  # PROXY v2 header: the cap counts each viewer's own address, not HAProxy's.
  command -v haproxy >/dev/null || exit 77
  port_base=18200
  start_server --trusted-proxy 127.0.0.1 --max-per-address 2
  front_http=$((18280 + RANDOM % 5 * 2)) front_telnet=$((front_http + 1))
  # Health checks every 300 ms, so that some come while the test runs.
  sed "s/:8080/:$front_http/; s/:2323/:$front_telnet/; s/:8081/:$http/; s/:2324/:$telnet/; s/check-send-proxy$/& inter 300/" \
    "$(dirname "$0")/../../packaging/glyphmarinae-haproxy.cfg" >"$work/haproxy.cfg"
  haproxy -f "$work/haproxy.cfg" -db >"$work/haproxy.log" 2>&1 &
  haproxy_pid=$!
  trap 'kill "$haproxy_pid" 2>/dev/null; cleanup' EXIT
  within curl -s -o /dev/null "http://127.0.0.1:$front_http/status" || fail "HAProxy does not answer: $(cat "$work/haproxy.log")"
  python3 - "$http" "$telnet" "$front_http" "$front_telnet" <<'PY' || fail "the viewers through HAProxy were not counted as themselves"
import socket, sys
http, telnet, front_http, front_telnet = map(int, sys.argv[1:])
def reply(port, source, data=b'GET /?size=10x3 HTTP/1.1\r\n\r\n', whole=False):
    s = socket.create_connection(('127.0.0.1', port), source_address=(source, 0))
    s.sendall(data)
    s.settimeout(5)
    got = s.recv(4096)
    while whole and (more := s.recv(4096)): got += more
    return s, got
# Two viewers from each of three addresses, one more from the first: only
# that one is refused, although all seven come from HAProxy's address.
held = []
for source in ('127.0.0.11', '127.0.0.11', '127.0.0.12', '127.0.0.12', '127.0.0.13', '127.0.0.13'):
    s, got = reply(front_http, source)
    assert got.startswith(b'HTTP/1.1 200'), (source, got)
    held.append(s)
s, got = reply(front_http, '127.0.0.11')
assert got.startswith(b'HTTP/1.1 429'), got
s, got = reply(front_telnet, '127.0.0.14', b'')
assert got.startswith(b'\xff'), 'telnet through HAProxy was not negotiated: %r' % got
held.append(s)
# A header from an address not trusted, on either port, and none from the trusted one.
header = b'PROXY TCP4 192.0.2.1 127.0.0.1 1000 80\r\n'
s, got = reply(http, '127.0.0.2', header + b'GET / HTTP/1.1\r\n\r\n')
assert got.startswith(b'HTTP/1.1 400') and got.endswith(b'a PROXY header is taken only from a --trusted-proxy address\n'), got
s, got = reply(telnet, '127.0.0.2', header, whole=True)
assert got.endswith(b'glyphmarinae-server: a PROXY header is taken only from a --trusted-proxy address\r\n'), got
s, got = reply(http, '127.0.0.1')
assert got.startswith(b'HTTP/1.1 400'), got
s, got = reply(front_http, '127.0.0.15', header)
assert got.startswith(b'HTTP/1.1 400'), 'a viewer named itself through HAProxy: %r' % got
PY
  sleep 1
  grep -q '^glyphmarinae-server: 127.0.0.11: too many viewers from one address$' "$work/server.err" || fail "the refusal's line names no viewer"
  ! grep -q 'connection failed' "$work/server.err" || fail "HAProxy's health checks are logged as failures"
  ;;
activation)
  # Listeners from systemd, named as the socket unit names them, served as
  # --http and --telnet would be; a socket of another name stops the start.
  command -v systemd-socket-activate >/dev/null || exit 77
  http=$((18290 + RANDOM % 4 * 2)) telnet=$((http + 1))
  systemd-socket-activate -l "127.0.0.1:$http" -l "127.0.0.1:$telnet" --fdname=http:telnet \
    "$server" "${as_user[@]}" 2>"$work/server.err" &
  server_pid=$!
  within curl -s -o /dev/null "http://127.0.0.1:$http/status" || fail "the socket from systemd does not answer"
  curl -s --max-time 5 "http://127.0.0.1:$http/?size=5x2&seed=1&ticks=1" | grep -q '2026l' || fail "no aquarium from systemd's socket"
  python3 - "$telnet" <<'PY' || fail "telnet from systemd's socket was not negotiated"
import socket, sys
s = socket.create_connection(('127.0.0.1', int(sys.argv[1])))
s.settimeout(5)
assert s.recv(3) == b'\xff\xfb\x01'
PY
  kill -TERM "$server_pid"; wait "$server_pid"; [ $? -eq 0 ] || fail "SIGTERM is not status 0"
  server_pid=
  systemd-socket-activate -l "127.0.0.1:$http" --fdname=web "$server" "${as_user[@]}" 2>"$work/err" &
  activator=$!
  within eval "ss -ltnH | grep -q '127.0.0.1:$http '" || fail "systemd-socket-activate does not listen"
  curl -s -o /dev/null --max-time 5 "http://127.0.0.1:$http/"
  wait "$activator"; [ $? -eq 1 ] || fail "a socket named web is not status 1"
  grep -q "systemd handed over a socket named 'web': name it http or telnet" "$work/err" || fail "$(cat "$work/err")"
  ;;
*) fail "no case $case_name" ;;
esac
exit 0
