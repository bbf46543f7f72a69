// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Speed of Wythoff's construction: the largest polyhedron of an icosahedral triangle, the
// truncated icosidodecahedron "2 3 5 |" with 120 vertices (budget: 1 ms), from the prepared
// triangle, as a drag of the generating point rebuilds it; its facts and dual beside it.

#include <benchmark/benchmark.h>

#include "polyhedron/dual.h"
#include "polyhedron/polyhedron_facts.h"
#include "polyhedron/wythoff.h"

namespace {

struct Prepared {
    vantu::WythoffTriangle triangle;
    vantu::Vec3 point;
};

Prepared omnitruncated() {
    const vantu::WythoffSymbol symbol = vantu::parseWythoffSymbol("2 3 5 |");
    vantu::WythoffTriangle triangle = vantu::wythoffTriangle(vantu::symbolTriangle(symbol));
    const vantu::Vec3 point = vantu::pointOf(triangle, vantu::symbolPoint(triangle, symbol));
    return {std::move(triangle), point};
}

void BM_BuildOmnitruncatedIcosahedral(benchmark::State& state) {
    const Prepared prepared = omnitruncated();
    for (auto _ : state) {
        const vantu::Polyhedron p = vantu::buildPolyhedron(prepared.triangle, prepared.point);
        benchmark::DoNotOptimize(p.faces.data());
    }
}
BENCHMARK(BM_BuildOmnitruncatedIcosahedral)->Unit(benchmark::kMicrosecond);

void BM_OmnitruncatedFactsAndDual(benchmark::State& state) {
    const Prepared prepared = omnitruncated();
    const vantu::Polyhedron p = vantu::buildPolyhedron(prepared.triangle, prepared.point);
    for (auto _ : state) {
        const vantu::PolyhedronFacts facts = vantu::polyhedronFacts(p);
        const vantu::Polyhedron dual = vantu::dualPolyhedron(p);
        benchmark::DoNotOptimize(facts.vertices);
        benchmark::DoNotOptimize(dual.faces.data());
    }
}
BENCHMARK(BM_OmnitruncatedFactsAndDual)->Unit(benchmark::kMicrosecond);

}  // namespace
