#pragma once

#include <string>

// description.txt of a campaign: text read by line position, labels on the
// lines between the values are not checked. Each line is read with a fixed
// buffer, so a line longer than the buffer is split and its remainder counts
// as the next line; campaigns written for that reading keep their layout.
//
//   line 2  campaign name     (31 characters)
//   line 5  number of levels  (free text, first 4 characters)
//   line 8  date              (15 characters)
//   line 11 author            (15 characters)
//   line 14 description       (170 characters)

struct CampaignDescription {
    std::string name = "No name";
    std::string levels = "Unknown number of levels";
    std::string date = " No date";
    std::string author = "Anonymous";
    std::string description = "No description available";
};

// The fields of a description file's text. Values lose the line break that
// ends them; a file that ends early leaves the remaining fields empty, as
// reading past its end does. Any text (also '#') may stand in a field: the
// fields are kept apart, never joined with a separator.
CampaignDescription parseCampaignDescription(const std::string& text);

// The fields of `path`, or the defaults when it cannot be read.
CampaignDescription readCampaignDescription(const std::string& path);
