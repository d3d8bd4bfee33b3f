// Cost of one camera command from the control's call to the bytes handed to the send path, per
// command set, with the selection lock taken each call; and the wall time of a Pelco D position
// command, which waits between its three parts.

#include "transport/camera_command_encoder.h"
#include "transport/camera_control.h"

#include <benchmark/benchmark.h>

namespace {

void MoveUpThroughControl(benchmark::State &state)
{
    std::size_t bytes = 0;
    transport::CameraControl control([&](const transport::ByteArray &payload) { bytes += payload.size(); });
    control.SelectCamera(1, static_cast<std::int32_t>(state.range(0)), nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(control.MoveUp(20));
    benchmark::DoNotOptimize(bytes);
}
BENCHMARK(MoveUpThroughControl)
    ->Arg(transport::kPelcoPCameraCode)
    ->Arg(transport::kPelcoDCameraCode)
    ->Arg(transport::kNibbleAddressCameraCode)
    ->Arg(transport::kA5FrameCameraCode);

void PelcoDGoToWallTime(benchmark::State &state)
{
    transport::CameraControl control([](const transport::ByteArray &) {});
    control.SelectCamera(1, transport::kPelcoDCameraCode, nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(control.GoToPTZCoords(12.34F, 5.0F, 1.0F));
}
BENCHMARK(PelcoDGoToWallTime)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
