#!/usr/bin/env bash
# Writes that fail for real, one case a line of the table below: each must
# end with its status and a message naming the error and the complete rows
# really in the file, those rows a prefix of the sweep ending with a whole
# run; then (for --out) --resume, once the fault is gone, must end with the
# bytes of an unbroken sweep.
#   write_faults_test.sh TRAVENEL-BATCH FAIL-WRITE-SHIM
set -uo pipefail
bin=$(realpath "$1")
shim=$(realpath "$2")
tmp=$(mktemp -d)
chmod 755 "$tmp"
mnt=""
trap '[ -n "$mnt" ] && umount "$mnt"; rm -rf "$tmp"' EXIT
sweep=(--agents 100:1500:100 --threshold 50,74 --repeats 8 --steps 60 --jobs 2)
slow=(--agents 10,100000 --repeats 2 --steps 99 --jobs 2)
"$bin" "${sweep[@]}" --quiet > "$tmp/want"
fail=0 tried=0
# A sanitizer build wants its run-time first among the preloaded libraries;
# the shim only wraps write(2) and flock(2), which it lets through.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0

grouped() { echo "$1" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta'; }
bad() { echo "FAIL $case: $*"; fail=1; }

# The file holds a prefix of the sweep that ends with a whole run, and the
# message names its rows.
check_rows() {
  local file=$1 size next rows
  size=$(stat -c %s "$file")
  cmp -s -n "$size" "$file" "$tmp/want" || { bad "not a prefix of the sweep"; return; }
  next=$(tail -c +$((size + 1)) "$tmp/want" | head -n 1 | cut -d, -f4)
  [ -z "$next" ] || [ "$next" = 1 ] || bad "ends inside a run (next step $next)"
  rows=$(($(wc -l < "$file") - 1))
  grep -q "$(grouped "$rows") rows" "$tmp/err" || bad "message does not say $rows rows: $(cat "$tmp/err")"
}

# Resumes without the fault and compares with the unbroken sweep.
check_resume() {
  "${as[@]}" "$bin" "${sweep[@]}" --quiet --out "$dir/out.csv" --resume 2> "$tmp/err2" ||
    { bad "resume failed: $(cat "$tmp/err2")"; return; }
  cmp -s "$dir/out.csv" "$tmp/want" || bad "resumed sweep differs"
  [ -e "$dir/out.csv.partial" ] && bad "partial file left"
  tried=$((tried + 1))
}

# name | how the run is started | expected status | message
# The shim's N stays at 4 or below: rows reach the file in writes of at
# least 64 KiB or every 20 ms, so how many writes a sweep takes depends on
# the machine's pace, but this one never takes fewer than four.
cases=(
  "fsize-out|limit|1|File too large"
  "fsize-stdout|limit-stdout|1|File too large"
  "enospc-out|shim 3 28|1|No space left on device"
  "eio-out|shim 1 5|1|Input/output error"
  "edquot-out|shim 2 122|1|Disk quota exceeded"
  "eio-stdout|shim-stdout 2 5|1|Input/output error"
  "epipe|pipe|1|Broken pipe"
  "tiny-fs|tmpfs|1|No space left on device"
  "read-only-as-nobody|nobody 4 28|1|No space left on device"
  "prompt-stop|slow 1 28|1|No space left on device"
  "no-locks|flock 37|0|no file locks"
)
for line in "${cases[@]}"; do
  IFS='|' read -r case how want_status want_text <<< "$line"
  read -r kind n errno <<< "$how"
  dir=$tmp/$case
  mkdir -p "$dir"
  as=()
  env=()
  args=("${sweep[@]}" --quiet --out "$dir/out.csv")
  out=/dev/null
  case $kind in
    limit | limit-stdout)
      [ "$kind" = limit-stdout ] && { args=("${sweep[@]}" --quiet); out=$dir/out.csv; }
      # A soft limit of 40 KiB, SIGXFSZ ignored, lifted while the sweep runs.
      bash -c 'trap "" XFSZ; ulimit -S -f 40; exec "$@"' _ "$bin" "${args[@]}" > "$out" 2> "$tmp/err" &
      pid=$!
      # Lifted once the file has met the limit (or the sweep has ended), never
      # on a clock: a loaded machine may not have written 40 KiB by any time.
      grown=$dir/out.csv
      [ "$kind" = limit ] && grown=$dir/out.csv.partial
      while kill -0 "$pid" 2> /dev/null && [ "$(stat -c %s "$grown" 2> /dev/null || echo 0)" -lt 40960 ]; do
        sleep 0.01
      done
      prlimit --pid "$pid" --fsize=unlimited 2> /dev/null
      wait "$pid"
      status=$? ;;
    shim | shim-stdout | nobody | slow)
      env=(env "LD_PRELOAD=$shim" "TRAVENEL_FAIL_WRITE=$n:$errno")
      [ "$kind" = shim-stdout ] && { args=("${sweep[@]}" --quiet); out=$dir/out.csv; }
      [ "$kind" = slow ] && args=("${slow[@]}" --quiet --out "$dir/out.csv")
      if [ "$kind" = nobody ]; then
        if [ "$(id -u)" != 0 ] || ! setpriv --reuid=nobody --regid=nogroup --clear-groups true 2> /dev/null; then
          echo "skip $case: needs root and setpriv to run as nobody"; continue
        fi
        chown nobody "$dir"
        echo "old rows" > "$dir/out.csv"
        chmod 0444 "$dir/out.csv"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
      fi
      start=$(date +%s%N)
      "${as[@]}" "${env[@]}" "$bin" "${args[@]}" > "$out" 2> "$tmp/err"
      status=$?
      ms=$((($(date +%s%N) - start) / 1000000)) ;;
    pipe)
      "$bin" "${sweep[@]}" 2> "$tmp/err" | head -c 1000 > /dev/null
      status=${PIPESTATUS[0]} ;;
    tmpfs)
      if ! mount -t tmpfs -o size=64k tmpfs "$dir" 2> "$tmp/mount"; then
        echo "skip $case: cannot mount a small file system here: $(cat "$tmp/mount")"; continue
      fi
      mnt=$dir
      "$bin" "${args[@]}" 2> "$tmp/err"
      status=$? ;;
    flock)
      LD_PRELOAD=$shim TRAVENEL_FAIL_FLOCK=$n "$bin" "${sweep[@]}" --out "$dir/out.csv" 2> "$tmp/err"
      status=$? ;;
  esac
  tried=$((tried + 1))
  [ "$status" = "$want_status" ] || bad "status $status, not $want_status"
  grep -q "$want_text" "$tmp/err" || bad "message lacks '$want_text': $(cat "$tmp/err")"
  [ "$(grep -c . "$tmp/err")" = 1 ] || bad "not one line: $(cat "$tmp/err")"
  case $kind in
    limit-stdout | shim-stdout) check_rows "$dir/out.csv" ;;
    limit | shim | tmpfs | nobody)
      check_rows "$dir/out.csv.partial"
      [ "$kind" = nobody ] && [ "$(cat "$dir/out.csv")" != "old rows" ] && bad "old file changed"
      [ "$kind" = tmpfs ] && mount -o remount,size=4m "$dir"
      check_resume
      if [ "$kind" = nobody ]; then
        [ "$(stat -c %a "$dir/out.csv")" = 444 ] || bad "mode $(stat -c %a "$dir/out.csv") after commit"
      fi
      # Run again by a job script: skipped, the file untouched.
      "${as[@]}" "$bin" "${sweep[@]}" --out "$dir/out.csv" --resume 2> "$tmp/err3" ||
        bad "complete sweep not skipped"
      grep -q "already holds this sweep" "$tmp/err3" || bad "no note on skipping: $(cat "$tmp/err3")" ;;
    slow)
      # Runs of 100,000 agents take seconds; the failure must not wait for them.
      # (Generous: a sanitizer build on a loaded machine starts slowly.)
      [ "$ms" -lt 5000 ] || bad "took $ms ms to stop" ;;
    flock) cmp -s "$dir/out.csv" "$tmp/want" || bad "sweep without locks differs" ;;
  esac
  [ -n "$mnt" ] && { umount "$mnt"; mnt=""; }
  echo "$case: status $status, $(head -c 200 "$tmp/err")"
done

# Killed between the final rename and the removal of the record: the next
# --resume finds the sweep complete and removes the stale record.
case=stale-record
dir=$tmp/$case
mkdir -p "$dir"
cp "$tmp/want" "$dir/out.csv"
echo "travenel-batch unfinished sweep" > "$dir/out.csv.partial.info"
"$bin" "${sweep[@]}" --out "$dir/out.csv" --resume 2> "$tmp/err" || bad "status $?: $(cat "$tmp/err")"
grep -q "already holds this sweep" "$tmp/err" || bad "no note: $(cat "$tmp/err")"
[ -e "$dir/out.csv.partial.info" ] || [ -e "$dir/out.csv.partial" ] && bad "record left"
cmp -s "$dir/out.csv" "$tmp/want" || bad "file changed"
# Killed as the skipping run had just taken its partial file: still skipped.
: > "$dir/out.csv.partial"
"$bin" "${sweep[@]}" --out "$dir/out.csv" --resume --quiet || bad "status $? with an empty partial file"
[ -e "$dir/out.csv.partial" ] && bad "empty partial file left"
tried=$((tried + 2))

# A device as --out is closed once: a second close could close a number
# another thread has opened meanwhile.
case=device-closed-once
if strace -f -qq -e trace=close -o "$tmp/strace" "$bin" "${sweep[@]}" --out /dev/null 2> "$tmp/err"; then
  grep -q EBADF "$tmp/strace" && bad "closed twice: $(grep EBADF "$tmp/strace")"
else
  echo "skip $case: strace cannot trace here: $(head -c 200 "$tmp/err")"
fi

echo "$tried faults and kill points tried"
exit $fail
