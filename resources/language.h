// Every text of the resources is written once for each language, side by side:
// KX_TEXT("German", "English"). The program's built-in resources are compiled from these files
// with the German texts, the English resource library from the same files with the English ones,
// so both have the same ids and the same layout by construction.
#pragma once

#if defined(KX_RESOURCES_ENGLISH)
#define KX_TEXT(german, english) english
#define KX_LANGUAGE "en"
#else
#define KX_TEXT(german, english) german
#define KX_LANGUAGE "de"
#endif
