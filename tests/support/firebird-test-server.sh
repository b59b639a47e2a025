#!/usr/bin/env bash
# A private Firebird server for tests: its own root folder, security
# database, lock folder and port, listening on 127.0.0.1 only.
#
#   firebird-test-server.sh start DIR PORT [OWNER_PID]
#                                            prepares DIR and starts the server;
#                                            it is stopped when OWNER_PID ends
#   firebird-test-server.sh stop DIR         stops it
#
# Users: SYSDBA (password plonkiver) and TALLOWIN (password kevutoph, may
# create databases).
set -euo pipefail

FB_LIB=/usr/lib/x86_64-linux-gnu/firebird/3.0
[[ -d $FB_LIB ]] || FB_LIB=$(dirname "$(dpkg -L firebird3.0-server-core | grep '/plugins/libEngine12.so$')")/..
SERVER=/usr/sbin/firebird

cmd=${1:?start or stop}
dir=${2:?folder}

case $cmd in
start)
  port=${3:?port}
  mkdir -p "$dir/lock" "$dir/data"
  for f in plugins intl firebird.msg plugins.conf UDF lib; do
    [[ -e $FB_LIB/$f && ! -e $dir/$f ]] && ln -s "$FB_LIB/$f" "$dir/$f"
  done
  cat > "$dir/firebird.conf" <<CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $dir/security3.fdb
ServerMode = Super
AuthServer = Srp
AuthClient = Srp
UserManager = Srp
WireCrypt = Enabled
GuardianOption = 0
CONF
  export FIREBIRD=$dir FIREBIRD_LOCK=$dir/lock
  if [[ ! -f $dir/security3.fdb ]]; then
    isql-fb -q <<SQL
CREATE DATABASE '$dir/security3.fdb' USER 'SYSDBA';
CREATE USER SYSDBA PASSWORD 'plonkiver' USING PLUGIN Srp;
CREATE USER TALLOWIN PASSWORD 'kevutoph' USING PLUGIN Srp;
COMMIT;
GRANT CREATE DATABASE TO USER TALLOWIN;
COMMIT;
SQL
  fi
  "$SERVER" > "$dir/server.log" 2>&1 &
  server_pid=$!
  echo $server_pid > "$dir/server.pid"
  owner=${4:-}
  if [[ -n $owner ]]; then
    # A test that dies without stopping its server must not leave it behind.
    ( while kill -0 "$owner" 2>/dev/null && kill -0 "$server_pid" 2>/dev/null; do sleep 1; done
      kill "$server_pid" 2>/dev/null ) > /dev/null 2>&1 &
  fi
  for _ in $(seq 1 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      exit 0
    fi
    sleep 0.1
  done
  echo "firebird-test-server: the server did not start" >&2
  cat "$dir/server.log" >&2 || true
  exit 1
  ;;
stop)
  if [[ -f $dir/server.pid ]]; then
    pid=$(cat "$dir/server.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/server.pid"
  fi
  ;;
*)
  echo "usage: $0 start DIR PORT | stop DIR" >&2
  exit 2
  ;;
esac
