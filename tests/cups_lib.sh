# Shared by the printing tests: a private CUPS server under a folder of its
# own, reached through its own socket, stopped by its own pid.

# start_cups DIR: configures and starts cupsd in DIR; exports CUPS_SERVER.
start_cups() {
  CUPS_DIR=$1
  mkdir -p "$CUPS_DIR"/{spool,tmp,cache,state,log,ppd,out}
  # Filters run as lp: they must reach the spool and write the output.
  chmod 755 "$CUPS_DIR"
  chmod 1777 "$CUPS_DIR/tmp" "$CUPS_DIR/out"
  cat >"$CUPS_DIR/cupsd.conf" <<CONF
Listen $CUPS_DIR/cups.sock
LogLevel ${CUPS_LOG_LEVEL:-warn}
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$CUPS_DIR/cups-files.conf" <<CONF
FileDevice Yes
ServerRoot $CUPS_DIR
RequestRoot $CUPS_DIR/spool
TempDir $CUPS_DIR/tmp
CacheDir $CUPS_DIR/cache
StateDir $CUPS_DIR/state
ErrorLog $CUPS_DIR/log/error_log
AccessLog $CUPS_DIR/log/access_log
PageLog $CUPS_DIR/log/page_log
SystemGroup root
CONF
  cupsd -f -c "$CUPS_DIR/cupsd.conf" -s "$CUPS_DIR/cups-files.conf" >"$CUPS_DIR/log/cupsd.out" 2>&1 &
  CUPS_PID=$!
  export CUPS_SERVER=$CUPS_DIR/cups.sock
  for _ in $(seq 100); do
    lpstat -r 2>/dev/null | grep -q "is running" && return 0
    kill -0 "$CUPS_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "cupsd did not start:"; cat "$CUPS_DIR/log/cupsd.out" "$CUPS_DIR/log/error_log" 2>/dev/null
  return 1
}

stop_cups() {
  if [ -n "${CUPS_PID:-}" ]; then
    kill "$CUPS_PID" 2>/dev/null || true
    wait "$CUPS_PID" 2>/dev/null || true
    CUPS_PID=""
  fi
}

# add_pdf_queue NAME OUTPUT.pdf: a generic PDF printer writing into a file,
# made the default.
add_pdf_queue() {
  lpadmin -p "$1" -E -v "file://$2" -P /usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd 2>&1 \
    | grep -v "drivers are deprecated" || true
  lpadmin -d "$1"
}

# wait_jobs_done: until the server has no job left (at most 60 s).
wait_jobs_done() {
  for _ in $(seq 600); do
    [ -z "$(lpstat -o 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  echo "print jobs did not finish:"; lpstat -o; cat "$CUPS_DIR/log/error_log" 2>/dev/null
  return 1
}
