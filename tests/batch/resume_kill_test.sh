#!/usr/bin/env bash
# Sweeps killed at random moments (SIGINT, SIGTERM, SIGKILL, sometimes again
# while resuming) and then resumed until they complete must end with exactly
# the bytes of an unbroken sweep, the old file untouched until then.
#   resume_kill_test.sh TRAVENEL-BATCH [KILLS] [SEED]
set -euo pipefail
bin=$1
kills=${2:-30}
seed=${3:-$$}
RANDOM=$seed
echo "seed $seed (give it as the third argument to repeat these kills)"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sweeps=(
  "--agents 200:1400:400 --threshold 40:100:30 --repeats 3 --steps 60 --jobs 2"
  "--agents 0:1500:250 --threshold 50,74,90 --repeats 6 --steps 40 --summary --measures --jobs 2"
  "--agents 300:1700:350 --threshold 60:80:10 --repeats 3 --steps 50 --measures --shard 2/3 --balanced --jobs 1"
)
declare -A want span
for i in "${!sweeps[@]}"; do
  start=$(date +%s%N)
  # shellcheck disable=SC2086
  "$bin" ${sweeps[$i]} --quiet > "$tmp/want$i"
  span[$i]=$(( ($(date +%s%N) - start) / 1000000 + 1 ))  # ms
  echo "sweep $i: $(wc -c < "$tmp/want$i") bytes in ${span[$i]} ms"
done

signals=(INT TERM KILL)
declare -A expect=([INT]=130 [TERM]=143 [KILL]=137)
fail=0
for ((k = 0; k < kills; k++)); do
  i=$((RANDOM % ${#sweeps[@]}))
  sig=${signals[$((k % 3))]}
  out="$tmp/out$k.csv"
  echo "old rows" > "$out"
  args=(${sweeps[$i]} --quiet --out "$out")
  attempt=0 status=1 tried=""
  while [ "$status" -ne 0 ]; do
    extra=()
    [ $attempt -gt 0 ] && extra=(--resume)
    "$bin" "${args[@]}" "${extra[@]}" 2> "$tmp/err" &
    pid=$!
    # The first kill anywhere in the sweep; later ones, now and then, while
    # resuming (also while the kept rows are being checked).
    if [ $attempt -eq 0 ] || { [ $attempt -lt 3 ] && [ $((RANDOM % 2)) -eq 0 ]; }; then
      ms=$((RANDOM % span[$i]))
      sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
      kill -s "$sig" "$pid" 2> /dev/null || true
      tried="$tried $sig@${ms}ms"
    fi
    set +e
    wait "$pid"
    status=$?
    set -e
    if [ "$status" -ne 0 ] && [ "$status" -ne "${expect[$sig]}" ]; then
      echo "kill $k (sweep $i,$tried): status $status"; cat "$tmp/err"; fail=1; break
    fi
    if [ "$status" -ne 0 ] && [ "$(cat "$out")" != "old rows" ]; then
      # A SIGKILL just after the file was replaced: the sweep is complete,
      # and the next --resume skips it (and removes a record left over).
      cmp -s "$out" "$tmp/want$i" && [ ! -e "$out.partial" ] && { attempt=$((attempt + 1)); continue; }
      echo "kill $k (sweep $i,$tried): the old file changed before the end"; fail=1; break
    fi
    attempt=$((attempt + 1))
  done
  if ! cmp -s "$out" "$tmp/want$i"; then
    echo "kill $k (sweep $i,$tried): the resumed sweep differs"; fail=1
  elif [ -e "$out.partial" ] || [ -e "$out.partial.info" ]; then
    echo "kill $k (sweep $i,$tried): partial files left behind"; fail=1
  else
    echo "kill $k (sweep $i,$tried): equal after $attempt starts"
  fi
done
exit $fail
