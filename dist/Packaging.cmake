# The Debian package, built by CPack (scripts/package): sorvanta_<version>_amd64.deb with its
# dependencies computed by dpkg-shlibdeps and no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvanta)
set(CPACK_PACKAGE_VENDOR "Quendry")
set(CPACK_PACKAGE_CONTACT "${SORVANTA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "browser for frame-semantic lexicon releases")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quendry.example/sorvanta")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SORVANTA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt at run time, so dpkg-shlibdeps cannot see it: the platform plugins that open
# windows on a desktop. The shared libraries found by dpkg-shlibdeps are added to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
# The long description; CPack writes CPACK_PACKAGE_DESCRIPTION_SUMMARY as the synopsis before
# it, indents its lines and marks the empty line between paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sorvanta Explorer opens the XML release of a frame-semantic lexical database
and shows its frames, frame elements, lexical units, annotated sentences and
frame-to-frame relations. It writes data sets derived from the release:
samples for semantic-role labelling with their training and test sets,
per-frame evaluation files, dictionaries in the TARKO text format and a study
of prepositional realizations.

The package holds the window (sorvanta-explorer), its command-line twin
(sorvanta) and a generator of synthetic releases (sorvanta-genrelease).")

include(CPack)
