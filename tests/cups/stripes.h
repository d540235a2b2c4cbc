// Pages of flat stripes, and the check that a screened page keeps their geometry and tone: the
// mean ink of every stripe, and of every strip of rows near the top of the page, within a grey
// level of the source at 1 bit (two at 2 bits: the drops of the drop screen are not exact thirds
// of a dot, measured up to 1.3), and every single row there within the noise one row of dots
// has.
#ifndef KORVEL_TESTS_CUPS_STRIPES_H
#define KORVEL_TESTS_CUPS_STRIPES_H

#include <string>
#include <vector>

#include "raster_io.h"

namespace cupstest {

constexpr int kStripes = 4;  // flat stripes side by side across the page

// `folder`/`name`.pdf (made with ghostscript): `pages` A4 pages of four stripes each, darker
// stripe by stripe and page by page, in grey or in CMYK.
std::string StripesPdf(const std::string& folder, const std::string& name, int pages, bool cmyk);

// The screened pages have the source's pages, geometry, colour space and order, `bits` per
// colour, and the tone of every ink of every stripe.
void ExpectScreenedPages(const std::vector<Page>& source, const std::vector<Page>& screened,
                         unsigned bits);

}  // namespace cupstest

#endif
