/* The bytes of the package resources the resources contract looks up; shared by the resource
   script of the Win32 test program and the host side's arrangement. */
#pragma once

#define CONTRACT_ENGLISH_PACKAGE_BYTES "english package"
#define CONTRACT_GERMAN_PACKAGE_BYTES "deutsches Paket"
#define CONTRACT_GERMAN_ONLY_BYTES "nur deutsch"
