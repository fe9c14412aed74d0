// Normal equations of plane survey networks of 250 to 1,000 points (500 to 2,000 unknowns): forming N = A^T A
// in profile form, then solving through the profile inversion, against Eigen's dense LDLT on the same N;
// and the dense inversions of 500 to 2,000 unknowns against Eigen's inverse of the same matrix, the
// full-pivot one also against Eigen's full-pivot LU. The table at the end gives the ratios.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>

#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "geometry/matrices/matrice.h"
#include "geometry/matrices/matrice_sym.h"
#include "ratio_reporter.h"

namespace {

constexpr int kWidth = 32; // points per grid row: N is a band of about 130
constexpr double kSpacing = 100;

// Distances and directions to every neighbour within two grid steps, linearised at slightly disturbed grid
// positions and numbered by their first point; the first point's coordinates are observed too, which fixes
// the translation that distances and directions leave free.
struct Survey {
    MatriceSym design;
    std::vector<double> observed;
};

Survey surveyNetwork(int points) {
    std::mt19937_64 rng(7);
    std::normal_distribution<double> disturbance(0, 3);
    std::vector<double> x(points), y(points);
    for (int p = 0; p < points; ++p) {
        x[p] = (p % kWidth) * kSpacing + disturbance(rng);
        y[p] = (p / kWidth) * kSpacing + disturbance(rng);
    }
    std::vector<std::vector<std::pair<int, double>>> rows = {{{0, 1.0}}, {{1, 1.0}}};
    const int forward[6][2] = {{1, 0}, {2, 0}, {-1, 1}, {0, 1}, {1, 1}, {0, 2}};
    for (int p = 0; p < points; ++p) {
        for (const auto& step : forward) {
            const int column = p % kWidth + step[0];
            const int q = p + step[0] + step[1] * kWidth;
            if (column < 0 || column >= kWidth || q >= points) continue;
            const double dx = x[q] - x[p], dy = y[q] - y[p];
            const double d = std::hypot(dx, dy);
            // Distance, then direction (in radians times the distance, so that both weigh alike).
            rows.push_back({{2 * p, -dx / d}, {2 * p + 1, -dy / d}, {2 * q, dx / d}, {2 * q + 1, dy / d}});
            rows.push_back({{2 * p, dy / d}, {2 * p + 1, -dx / d}, {2 * q, -dy / d}, {2 * q + 1, dx / d}});
        }
    }
    Survey survey;
    survey.design.SetNul(static_cast<std::uint32_t>(rows.size()), 2 * static_cast<std::uint32_t>(points));
    std::normal_distribution<double> residual(0, 0.01);
    for (std::uint32_t i = 0; i < rows.size(); ++i) {
        for (const auto& [unknown, value] : rows[i])
            *survey.design.pAt(i, static_cast<std::uint32_t>(unknown)) = value;
        survey.observed.push_back(residual(rng));
    }
    return survey;
}

struct NormalEquations {
    MatriceSym normal;
    std::vector<double> rightSide;
};

NormalEquations form(const Survey& survey) {
    NormalEquations equations;
    const MatriceSym at = survey.design.Transpose();
    MatriceSym::AddMul(equations.normal, at, at, 1);
    equations.rightSide.assign(at.rows, 0.0);
    MatriceSym::AddMul(equations.rightSide.data(), at, survey.observed.data(), 1);
    return equations;
}

std::vector<double> solveProfile(const NormalEquations& equations) {
    MatriceSym inverse;
    inverse = equations.normal;
    std::vector<double> solution(equations.rightSide.size(), 0.0);
    if (inverse.InverseSimple(2) == 0)
        MatriceSym::AddMul(solution.data(), inverse, equations.rightSide.data(), 1);
    return solution;
}

Eigen::MatrixXd dense(const MatriceSym& m) {
    Eigen::MatrixXd a = Eigen::MatrixXd::Zero(m.rows, m.cols);
    for (std::uint32_t i = 0; i < m.rows; ++i) {
        const MatriceSym::pLine row = m[i];
        for (std::int32_t j = row.first; row.values && j <= row.last; ++j)
            a(i, j) = row[j];
    }
    return a;
}

// The network of `unknowns` / 2 points and its normal equations, made once.
const Survey& survey(long unknowns) {
    static std::map<long, Survey> networks;
    auto found = networks.find(unknowns);
    if (found == networks.end())
        found = networks.emplace(unknowns, surveyNetwork(static_cast<int>(unknowns / 2))).first;
    return found->second;
}

const NormalEquations& equations(long unknowns) {
    static std::map<long, NormalEquations> formed;
    auto found = formed.find(unknowns);
    if (found == formed.end()) found = formed.emplace(unknowns, form(survey(unknowns))).first;
    return found->second;
}

void unknowns(benchmark::internal::Benchmark* b) {
    b->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
}

void FormNormalEquations(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(form(survey(state.range(0))).normal.table);
}
BENCHMARK(FormNormalEquations)->Apply(unknowns);

void SolveByProfileInversion(benchmark::State& state) {
    const NormalEquations& e = equations(state.range(0));
    std::vector<double> solution;
    for (auto _ : state)
        benchmark::DoNotOptimize(solution = solveProfile(e));
    const Eigen::MatrixXd n = dense(e.normal);
    const Eigen::VectorXd b = Eigen::Map<const Eigen::VectorXd>(e.rightSide.data(), n.rows());
    const Eigen::VectorXd expected = n.ldlt().solve(b);
    const double error =
        (Eigen::Map<const Eigen::VectorXd>(solution.data(), n.rows()) - expected).cwiseAbs().maxCoeff() /
        expected.cwiseAbs().maxCoeff();
    state.counters["relative_difference_to_eigen"] = error;
    if (!(error < 1e-8)) state.SkipWithError("the profile solution differs from Eigen's");
}
BENCHMARK(SolveByProfileInversion)->Apply(unknowns);

// The anchor: Eigen's dense LDLT, factorisation and solution, on the same N.
void SolveByEigenLDLT(benchmark::State& state) {
    const NormalEquations& e = equations(state.range(0));
    const Eigen::MatrixXd n = dense(e.normal);
    const Eigen::VectorXd b = Eigen::Map<const Eigen::VectorXd>(e.rightSide.data(), n.rows());
    for (auto _ : state) {
        Eigen::VectorXd solution = n.ldlt().solve(b);
        benchmark::DoNotOptimize(solution.data());
    }
}
BENCHMARK(SolveByEigenLDLT)->Apply(unknowns);

// A symmetric, diagonally dominant n x n: what normal equations look like, invertible on its diagonal.
Eigen::MatrixXd denseNormal(long n) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> value(-1, 1);
    Eigen::MatrixXd a(n, n);
    for (long i = 0; i < n; ++i)
        for (long j = 0; j <= i; ++j)
            a(i, j) = a(j, i) = value(rng);
    a.diagonal().array() += static_cast<double>(n);
    return a;
}

// Matrice::InverseSimple (diagonal pivots in order) or Matrice::Inverse (full pivoting).
void DenseInversion(benchmark::State& state, bool simple) {
    const Eigen::MatrixXd a = denseNormal(state.range(0));
    const auto n = static_cast<std::uint32_t>(a.rows());
    Matrice m;
    for (auto _ : state) {
        state.PauseTiming();
        m.SetNul(n, static_cast<int>(n));
        for (std::uint32_t i = 0; i < n; ++i)
            for (std::uint32_t j = 0; j < n; ++j)
                m[i][j] = a(i, j);
        state.ResumeTiming();
        benchmark::DoNotOptimize(simple ? m.InverseSimple() : m.Inverse());
    }
    Eigen::MatrixXd inverse(n, n);
    for (std::uint32_t i = 0; i < n; ++i)
        for (std::uint32_t j = 0; j < n; ++j)
            inverse(i, j) = m[i][j];
    const double error = (a * inverse - Eigen::MatrixXd::Identity(n, n)).cwiseAbs().maxCoeff();
    state.counters["residual"] = error;
    if (!(error < 1e-10)) state.SkipWithError("the inverse does not invert");
}
BENCHMARK_CAPTURE(DenseInversion, simple, true)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DenseInversion, full_pivot, false)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

// The anchor: Eigen's inverse (LU with partial pivoting) of the same matrix.
void EigenInverse(benchmark::State& state) {
    const Eigen::MatrixXd a = denseNormal(state.range(0));
    for (auto _ : state) {
        Eigen::MatrixXd inverse = a.inverse();
        benchmark::DoNotOptimize(inverse.data());
    }
}
BENCHMARK(EigenInverse)->Apply(unknowns);

// The anchor of the same kind as the full-pivot inversion: Eigen's LU with full pivoting, which also looks
// at every element left at each step, then its inverse.
void EigenFullPivInverse(benchmark::State& state) {
    const Eigen::MatrixXd a = denseNormal(state.range(0));
    for (auto _ : state) {
        Eigen::MatrixXd inverse = a.fullPivLu().inverse();
        benchmark::DoNotOptimize(inverse.data());
    }
}
BENCHMARK(EigenFullPivInverse)->Apply(unknowns);

} // namespace

int main(int argc, char** argv) {
    return bench_ratios::runWithRatios(argc, argv,
                                       {{"SolveByProfileInversion/{n}", "SolveByEigenLDLT/{n}"},
                                        {"DenseInversion/simple/{n}", "EigenInverse/{n}"},
                                        {"DenseInversion/full_pivot/{n}", "EigenInverse/{n}"},
                                        {"DenseInversion/full_pivot/{n}", "EigenFullPivInverse/{n}"}});
}
