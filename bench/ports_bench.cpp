// What an emulator pays on every guest poll of the controller's status port and on every
// periodic tick while nothing happens, against the plainest indirect call of the same shape.
#include <type_traits>

#include "bench_support.h"

namespace {

constexpr int kCalls = 1000;  // calls per timed sample

std::uint8_t MHW_CALL ByteFloor() {
  return 0x80;
}
void MHW_CALL EmptyFloor() {}

// kCalls calls of fn; an in handler's bytes are summed so that none is dropped unseen.
template <typename Fn>
double Batch(Fn fn, std::uint32_t& sink) {
  benchmark::DoNotOptimize(fn);
  return bench::Versus::Nanoseconds([&] {
    for (int i = 0; i < kCalls; ++i) {
      if constexpr (std::is_same_v<Fn, MhwInHandler>)
        sink += fn();
      else
        fn();
    }
  });
}

// Times kCalls calls of `now` and of `floor` alternately, keeping the best sample of each.
template <typename Fn>
void CallsVersus(benchmark::State& state, Fn now, Fn floor) {
  bench::Versus versus;
  std::uint32_t sink = 0;
  for (auto _ : state) {
    versus.Now(Batch(now, sink));
    versus.Floor(Batch(floor, sink));
  }
  benchmark::DoNotOptimize(sink);
  versus.Report(state, kCalls, 1, "ns");
}

void BM_StatusPortPoll(benchmark::State& state) {
  auto host = bench::HostWith("ports.d88");
  const MhwInHandler status = host->InHandler(0x90);
  if (status == nullptr) return state.SkipWithError("no handler on port 0x90");
  CallsVersus<MhwInHandler>(state, status, &ByteFloor);
}
BENCHMARK(BM_StatusPortPoll)->Iterations(2000);

// Every tick handler the module registered, called once per tick as the emulator does.
void BM_IdleTick(benchmark::State& state) {
  auto host = bench::HostWith("ports.d88");
  const auto& handlers = host->TickHandlers();
  if (handlers.size() != 1) return state.SkipWithError("expected one tick handler");
  CallsVersus<MhwVoidHandler>(state, handlers[0], &EmptyFloor);
}
BENCHMARK(BM_IdleTick)->Iterations(2000);

// The image the hosts above mount.
const bool kImages = (bench::WriteFile("ports.d88", bench::D88Image()), true);

}  // namespace
