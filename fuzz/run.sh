#!/bin/sh
# Builds the libFuzzer targets with clang under AddressSanitizer and UBSan and runs
# each for a bounded time (FUZZ_SECONDS, default 30). Exit status 0 when all ran clean.
# Usage: fuzz/run.sh [seconds]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${FUZZ_BUILD_DIR:-$here/../build-fuzz}
seconds=${1:-${FUZZ_SECONDS:-30}}

command -v clang++ >/dev/null || { echo "fuzz: clang++ is needed (apt-get install clang)" >&2; exit 2; }
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"${FUZZ_JOBS:-1}"

# Seeds: one well-formed example per parser, so the fuzzer starts past the basics.
seeds=$build/seeds
mkdir -p "$seeds/sip_message" "$seeds/sdp" "$seeds/stun" "$seeds/rtp" "$seeds/rtcp" "$seeds/challenge"
printf 'INVITE sip:101@x SIP/2.0\r\nVia: SIP/2.0/UDP a;branch=z9hG4bK1\r\nFrom: <sip:102@x>;tag=1\r\nTo: <sip:101@x>\r\nCall-ID: c1\r\nCSeq: 1 INVITE\r\nContent-Length: 30\r\n\r\nc=IN IP4 1.2.3.4\r\nm=audio 9 RTP\0\0CANCEL sip:101@x SIP/2.0\r\nCall-ID: c1\r\nCSeq: 1 CANCEL\r\nContent-Length: 0\r\n\r\n' >"$seeds/sip_message/invite"
printf 'v=0\r\nc=IN IP4 10.0.0.1\r\nm=audio 6000 RTP/AVP 8\r\n' >"$seeds/sdp/offer"
printf '\001\001\000\014BBBBBBBBBBBBBBBB\000\001\000\010\000\001\324\061\300\000\002\002' >"$seeds/stun/response"
printf '\200\010\000\001\000\000\000\000\000\000\000\001\325\325\325\325' >"$seeds/rtp/packet"
printf '\201\310\000\001\000\000\000\001\201\312\000\002\000\000\000\001\001\001a\000' >"$seeds/rtcp/compound"
printf 'Digest realm="r", nonce="n", qop="auth", opaque="o", algorithm=MD5' >"$seeds/challenge/digest"

status=0
for parser in sip_message sdp stun rtp rtcp challenge; do
    corpus=$build/corpus/$parser
    mkdir -p "$corpus"
    echo "fuzz: $parser for ${seconds}s"
    if ! "$build/fuzz_$parser" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
            -print_final_stats=1 "$corpus" "$seeds/$parser" >"$build/$parser.log" 2>&1; then
        echo "fuzz: $parser FAILED, see $build/$parser.log" >&2
        tail -40 "$build/$parser.log" >&2
        status=1
    else
        grep -E "stat::number_of_executed_units|cov:" "$build/$parser.log" | tail -2
    fi
done
exit $status
