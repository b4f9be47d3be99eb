#include "ConversionTexts.h"

#include "MultiLanguages.h"

TConversionTexts LanguageConversionTexts()
{
    TConversionTexts texts;
#define ORV_COPY_TEXT(name, text) texts.name = ::name;
    ORV_CONVERSION_TEXTS(ORV_COPY_TEXT)
#undef ORV_COPY_TEXT
    return texts;
}
