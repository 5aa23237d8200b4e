#!/usr/bin/env bash
# The README's two ways of spreading a sweep over machines, run for real: a
# Slurm job array on a one-node Slurm started here (munged, slurmctld and
# slurmd of Debian's packages, configured for localhost), and GNU parallel.
# Each must give byte for byte the sweep run on one machine, also after one
# block was cancelled and then resumed. Needs root (to install the packages
# and run the daemons); when anything is missing it fails and says why.
#   cluster_test.sh TRAVENEL-BATCH
set -euo pipefail
fail() {
  echo "cluster test FAILED: $*" >&2
  exit 1
}
[ $# -eq 1 ] || fail "usage: $0 TRAVENEL-BATCH"
bin=$(realpath "$1")
[ -x "$bin" ] || fail "'$1' is not an executable"
[ "$(id -u)" -eq 0 ] || fail "must run as root (it installs packages and starts slurmctld, slurmd, munged)"

packages=(parallel slurmd slurmctld slurm-client munge)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends "${missing[@]}" ||
    { apt-get update && apt-get install -y --no-install-recommends "${missing[@]}"; } ||
    fail "could not install ${missing[*]} with apt-get"
fi
# The packages may start their own daemons; ours use their own socket, ports,
# state and spool folders, so they never meet those.
for tool in munged slurmctld slurmd sbatch squeue scancel sacct parallel; do
  command -v "$tool" > /dev/null || fail "'$tool' is missing after installing ${packages[*]}"
done
[ -r /etc/munge/munge.key ] || fail "the munge package left no key in /etc/munge/munge.key"

tmp=$(mktemp -d /tmp/travenel-cluster.XXXXXX)
chmod 755 "$tmp"
pids=()
stop_daemons() {
  local status=$?
  # Only the daemons started here, by their pids, newest first.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2> /dev/null || true
  done
  for pid in "${pids[@]}"; do
    wait "$pid" 2> /dev/null || true
  done
  if [ $status -ne 0 ]; then
    for log in "$tmp"/*.log; do
      [ -e "$log" ] && { echo "--- $log"; tail -n 20 "$log"; }
    done >&2
  fi
  rm -rf "$tmp"
  exit $status
}
trap stop_daemons EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- a one-node Slurm on localhost ---
sock="$tmp/munge.sock"
munged -F --force --socket="$sock" --key-file=/etc/munge/munge.key --pid-file="$tmp/munged.pid" \
  --log-file="$tmp/munged.log" --seed-file="$tmp/munged.seed" 2>> "$tmp/munged.log" &
pids+=($!)
for _ in $(seq 50); do [ -S "$sock" ] && break; sleep 0.1; done
[ -S "$sock" ] || fail "munged did not start"
munge -S "$sock" -n | unmunge -S "$sock" > /dev/null || fail "munge cannot check its own credential"

# Ports of our own, away from a Slurm the machine may run.
port=$((20000 + RANDOM % 20000))
mkdir -p "$tmp/state" "$tmp/spool" "$tmp/jobs"
cat > "$tmp/slurm.conf" << CONF
ClusterName=travenel-test
SlurmctldHost=localhost
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
AuthInfo=socket=$sock
CredType=cred/munge
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$tmp/state
SlurmdSpoolDir=$tmp/spool
SlurmctldPidFile=$tmp/slurmctld.pid
SlurmdPidFile=$tmp/slurmd.pid
SlurmctldLogFile=$tmp/slurmctld.log
SlurmdLogFile=$tmp/slurmd.log
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
MpiDefault=none
SwitchType=switch/none
JobCompType=jobcomp/none
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
ReturnToService=2
KillWait=5
MinJobAge=300
NodeName=localhost CPUs=$(nproc) State=UNKNOWN
PartitionName=test Nodes=localhost Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$tmp/slurm.conf"
slurmctld -D -i -f "$SLURM_CONF" >> "$tmp/slurmctld.log" 2>&1 &
pids+=($!)
slurmd -D -N localhost -f "$SLURM_CONF" >> "$tmp/slurmd.log" 2>&1 &
pids+=($!)
for _ in $(seq 150); do
  sinfo -h -n localhost -o %t 2> /dev/null | grep -Eq '^(idle|mix|alloc)' && break
  sleep 0.2
done
sinfo -h -n localhost -o %t 2> /dev/null | grep -Eq '^(idle|mix|alloc)' ||
  fail "the node did not come up: $(sinfo -h -o '%n %t %E' 2>&1 | head -1)"
echo "Slurm is up on localhost (ports $port, $((port + 1)))"

# --- the README's job array on a small sweep ---
sweep=(--agents 100:1900:300 --threshold 0:100:25 --repeats 3 --summary --measures)
"$bin" "${sweep[@]}" --quiet > "$tmp/want.csv"
N=4
# As in the README: one task per block, zero-padded names, --resume so a
# task started again continues where it stopped.
cat > "$tmp/jobs/sweep.sh" << JOB
#!/bin/bash
#SBATCH --array=1-$N
#SBATCH --cpus-per-task=1
#SBATCH --output=$tmp/jobs/slurm-%A_%a.out
N=$N
"$bin" ${sweep[*]} \\
  --jobs "\$SLURM_CPUS_PER_TASK" --shard "\$SLURM_ARRAY_TASK_ID/\$N" --balanced --resume \\
  --out "sweep-\$(printf %03d "\$SLURM_ARRAY_TASK_ID").csv"
JOB

wait_for() {  # job id: waits until no task of it is left in the queue
  for _ in $(seq 600); do
    [ -z "$(squeue -h -j "$1" 2> /dev/null)" ] && return 0
    sleep 0.2
  done
  fail "job $1 still queued after 120 s: $(squeue -h -j "$1" -o '%i %T %R' | head -3)"
}
submit() {  # sbatch options...: prints the job id
  sbatch --parsable --chdir="$tmp/jobs" "$@" "$tmp/jobs/sweep.sh" | cut -d';' -f1
}

job=$(submit) || fail "sbatch refused the job array"
wait_for "$job"
cat "$tmp"/jobs/sweep-*.csv > "$tmp/array.csv"
cmp -s "$tmp/array.csv" "$tmp/want.csv" ||
  fail "the job array's $N outputs put together differ from the sweep on one machine"
echo "job array: $N blocks put together equal the one-machine sweep"

# --- a task cancelled half-way, then resumed ---
rm -f "$tmp"/jobs/sweep-*.csv
sweep=(--agents 1500:2000:100 --threshold 50:90:10 --repeats 3 --steps 80)
"$bin" "${sweep[@]}" --quiet > "$tmp/want.csv"
sed -i "s|^\"$bin\" .* \\\\\$|\"$bin\" ${sweep[*]} \\\\|" "$tmp/jobs/sweep.sh"
job=$(submit --array=2) || fail "sbatch refused task 2"
partial="$tmp/jobs/sweep-002.csv.partial"
for _ in $(seq 300); do
  [ -s "$partial" ] && [ "$(wc -l < "$partial")" -gt 3 ] && break
  sleep 0.1
done
[ "$(squeue -h -j "$job" -o %T)" = RUNNING ] || fail "task 2 ended before it could be cancelled"
scancel "$job"
wait_for "$job"
[ -s "$partial" ] || fail "the cancelled task kept no rows in $partial"
[ ! -e "$tmp/jobs/sweep-002.csv" ] || fail "the cancelled task wrote its output file"
kept=$(wc -l < "$partial")
grep -q "interrupted: sweep-002.csv not written" "$tmp"/jobs/slurm-"${job}"_2.out ||
  fail "the cancelled task did not say what became of its rows: $(cat "$tmp"/jobs/slurm-"${job}"_2.out)"
job=$(submit) || fail "sbatch refused the job array"
wait_for "$job"
grep -q "resuming after" "$tmp"/jobs/slurm-"${job}"_2.out ||
  fail "task 2 did not resume: $(cat "$tmp"/jobs/slurm-"${job}"_2.out)"
cat "$tmp"/jobs/sweep-*.csv > "$tmp/array.csv"
cmp -s "$tmp/array.csv" "$tmp/want.csv" ||
  fail "after scancel and --resume the job array's outputs differ from the one-machine sweep"
echo "job array: task 2 cancelled with $kept lines kept, resumed; the blocks put together are equal"

# --- GNU parallel, as the README has it ---
cd "$tmp"
sweep=(--agents 100:1900:300 --threshold 0:100:25 --repeats 3 --summary)
"$bin" "${sweep[@]}" --quiet > want.csv
N=8
parallel --will-cite -k -j 2 "$bin" "${sweep[@]}" --jobs 1 --shard {}/$N --balanced \
  ::: $(seq $N) > sweep.csv || fail "parallel failed"
cmp -s sweep.csv want.csv || fail "parallel's $N blocks differ from the one-machine sweep"
echo "parallel: $N blocks equal the one-machine sweep"

# The resumable form: a block stopped by SIGTERM, the same line again.
sweep=(--agents 1500:2000:100 --threshold 50:90:10 --repeats 3 --steps 80)
"$bin" "${sweep[@]}" --quiet > want.csv
N=4
line=(parallel --will-cite -j 2 "$bin" "${sweep[@]}" --jobs 1 --shard {}/$N --balanced --resume
  --quiet --out "sweep-{}.csv" ::: $(seq $N))
"${line[@]}" &
ppid_=$!
victim=""
for _ in $(seq 300); do
  victim=$(pgrep -f -- "--out sweep-3.csv" | head -1 || true)
  [ -n "$victim" ] && [ -s sweep-3.csv.partial ] && [ "$(wc -l < sweep-3.csv.partial)" -gt 1 ] && break
  sleep 0.1
done
[ -n "$victim" ] || fail "block 3 never ran under parallel"
kill -TERM "$victim"
set +e
wait "$ppid_"
status=$?
set -e
[ "$status" -ne 0 ] || fail "parallel reported success although block 3 was stopped"
[ -s sweep-3.csv.partial ] && [ ! -e sweep-3.csv ] || fail "block 3 kept no rows when stopped"
"${line[@]}" || fail "parallel failed when resuming"
cat sweep-{1..4}.csv > sweep.csv
cmp -s sweep.csv want.csv || fail "parallel's blocks after --resume differ from the one-machine sweep"
echo "parallel: block 3 stopped by SIGTERM and resumed; the blocks put together are equal"
echo "cluster test passed"
