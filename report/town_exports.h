#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "census/census.h"
#include "census/record_sink.h"

namespace towngen {

// What towncensus writes of a town, in the order of its options.
enum class ExportKind { Csv, Json, JsonLines, Page };

// The writer of one export onto `out`. The page is titled `title`, holds at
// most `rosterLimit` townspeople in its roster and draws from `census`, which
// must count for charts and receive each townsperson before the page does.
std::unique_ptr<RecordSink> exportWriter(ExportKind kind, std::ostream& out,
                                         const std::string& title, std::int64_t rosterLimit,
                                         const Census& census);

// How many bytes that are not valid UTF-8 `writer` wrote as U+FFFD: only the
// JSON writers replace any.
std::size_t replacedBytes(const RecordSink& writer);

// The warning, without the program's name, that `replaced` bytes were written
// as U+FFFD; empty when none were.
std::string replacementWarning(std::size_t replaced);

// A town's name as a page's title: its file's name without the extension.
std::string townTitle(const std::string& fileName);

// Hands every townsperson of `town`, named `shownName` in messages, to each
// sink in order, with its block when `keepBlocks` is set. Returns why the
// file is not a town: "NAME:LINE: problem", "cannot read NAME" or "NAME holds
// no townsperson"; empty when it is one.
std::string readTownInto(std::istream& town, const std::string& shownName, bool keepBlocks,
                         const std::vector<RecordSink*>& sinks);

}  // namespace towngen
