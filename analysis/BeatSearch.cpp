#include "analysis/BeatSearch.h"

#include "analysis/proc.h"

int FirstLobeEnd(const double* window, int n) {
    int i = 0;
    for (int k = 1; k < n; ++k) {
        if (window[k] > window[i])
            i = k;
    }
    while (i < n && window[i] >= 0)
        ++i;
    return i;
}

int NextLobeEnd(const double* window, int n) {
    double half = f_max(window, n) * 0.5;
    int i = 0;
    while (i < n && window[i] <= half)
        ++i;
    while (i < n && window[i] >= half)
        ++i;
    if (i == n)
        return 0;
    while (i + 1 < n && window[i + 1] >= 0)
        ++i;
    return i;
}
