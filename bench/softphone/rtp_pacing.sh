#!/bin/sh
# RTP send pacing: the probe calls sipp on loopback and speaks a tone for 10 s while
# tshark captures the probe's RTP; tshark's rtp,streams report gives the mean jitter
# (RFC 3550 section 6.4.1) of that stream. Target: under 1 ms.
# Usage: bench/softphone/rtp_pacing.sh [path/to/sipprobe]   (needs sipp and tshark)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
probe=${1:-$here/../../build/bin/sipprobe}
pcap=$(dpkg -L sip-tester 2>/dev/null | grep "/g711a.pcap$" | head -1)
pcap=${pcap:-/usr/share/sip-tester/g711a.pcap}
sip_port=${SIP_PORT:-47561}
sipp_port=${SIPP_PORT:-47563}
rtp_port=${RTP_PORT:-47570}
sipp_media=${SIPP_MEDIA_PORT:-47580}
seconds=${CALL_SECONDS:-10}

for tool in sipp tshark "$probe"; do
    command -v "$tool" >/dev/null || { echo "rtp_pacing: $tool is missing" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed "s|@PCAP@|$pcap|" "$here/../../tests/softphone_peers/scenarios/uas_answer_with_audio.xml" >"$work/callee.xml"

sipp -sf "$work/callee.xml" -i 127.0.0.1 -p "$sipp_port" -mp "$sipp_media" -m 1 -nostdin \
    -timeout $((seconds + 20))s >/dev/null 2>&1 &
sipp_pid=$!
tshark -q -i lo -f "udp and src port $rtp_port" -w "$work/call.pcapng" -a duration:$((seconds + 6)) \
    >/dev/null 2>&1 &
tshark_pid=$!
sleep 2
"$probe" --server 127.0.0.1:"$sipp_port" --user 101 --password secret --local-port "$sip_port" \
    --rtp-port "$rtp_port" --local-address 127.0.0.1 --dial 102 --hangup-after "$seconds" --tone 440 \
    --stay-registered --timeout $((seconds + 10)) >"$work/probe.log"
wait "$sipp_pid" || true
wait "$tshark_pid" || true

tshark -r "$work/call.pcapng" -d udp.port=="$rtp_port",rtp -q -z rtp,streams >"$work/streams.txt"
cat "$work/streams.txt"
# After "Lost (percent)" come: min, mean, max delta, then min, mean, max jitter.
awk -v port="$rtp_port" '$0 ~ port && /g711A|PCMA/ {
    for (i = 1; i <= NF; i++) if ($i ~ /^\(/) lost = i
    print "packets: " $(lost - 2) "  mean delta (ms): " $(lost + 2) "  max delta (ms): " $(lost + 3) \
          "  mean jitter (ms): " $(lost + 5) "  max jitter (ms): " $(lost + 6)
}' "$work/streams.txt"
