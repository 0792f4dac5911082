#pragma once
// Figures of a stress test, computed by CHrv::AnalyseHrv from the rate queue.
// Rates in beats per minute, intervals in milliseconds, powers in (beats per minute)^2 of
// the resampled rate series, scores on 0..100, classes 0 below / 1 within / 2 above the norm.

#include <cstdint>

struct HrvResult {
    int32_t age = 0;
    int32_t sex = 0; // 1 male, 2 female
    double meanRate = 0;
    double sdRate = 0;
    double totalPower = 0;
    double vlfPower = 0;
    double lfPower = 0;
    double hfPower = 0;
    double lfShare = 0;
    double hfShare = 0;
    double rateNormSd = 0;
    double sdNormRange = 0;
    double rateNorm = 0;
    double sdNorm = 0;
    double quarterSd = 0;
    double sdNormRate = 0;
    double sdNormLow = 0;
    double sdNormHigh = 0;
    double sdNormHalf = 0;
    double variabilityScore = 0;
    double diff2Index = 0;
    double lfScore = 0;
    double hfScore = 0;
    double hfBalanceScore = 0;
    double diff2Score = 0;
    double distributionScore = 0;
    double geoVariability = 0;
    double combinedScore = 0;
    double upDownIndex = 0;
    double regularityScore = 0;
    double stressScore = 0;
    double stressScoreCopy = 0;
    double meanRr = 0;
    double sdnn = 0;
    double triangularIndex = 0;
    double pnn50 = 0;
    double rmssd = 0;
    double sdsd = 0;
    int32_t totalClass = 0;
    int32_t vlfClass = 0;
    int32_t lfClass = 0;
    int32_t hfClass = 0;
    int32_t ratioClass = 0;
    int32_t rateClass = 0;
    int32_t sdnnClass = 0;
    int32_t rmssdClass = 0;
    int32_t triangularClass = 0;
    int32_t pnn50Class = 0;
    int32_t ansType = 0;
};

enum class HrvStatus {
    Ok,
    TooShort, // cleaned series of at most one rate: "data too short" (message 40018)
};
